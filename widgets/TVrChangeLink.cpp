#include "TVrChangeLink.h"

#include "TVrSharedComponent.h"

TVrChangeLink::~TVrChangeLink() {
    if (m_sender)
        m_sender->RemoveLink(this);
}
