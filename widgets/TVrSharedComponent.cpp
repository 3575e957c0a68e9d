#include "TVrSharedComponent.h"

#include "TVrChangeLink.h"

#include <algorithm>

TVrSharedComponent::TVrSharedComponent(QObject* parent) : QObject(parent) {}

TVrSharedComponent::~TVrSharedComponent() {
    while (!m_links.empty())
        RemoveLink(m_links.back());
}

void TVrSharedComponent::InsertLink(TVrChangeLink* Link) {
    if (!Link)
        return;
    if (Link->m_sender)
        Link->m_sender->RemoveLink(Link);
    Link->m_sender = this;
    m_links.push_back(Link);
}

void TVrSharedComponent::RemoveLink(TVrChangeLink* Link) {
    if (!Link)
        return;
    const auto it = std::find(m_links.begin(), m_links.end(), Link);
    if (it == m_links.end())
        return;
    m_links.erase(it);
    Link->m_sender = nullptr;
}

void TVrSharedComponent::NotifyLinks() {
    // A callback may unlink itself or others; walk a copy and skip links gone meanwhile.
    const std::vector<TVrChangeLink*> links = m_links;
    for (TVrChangeLink* link : links) {
        if (std::find(m_links.begin(), m_links.end(), link) != m_links.end() && link->OnChange)
            link->OnChange(this);
    }
}
