#include "TVrPersistent.h"

void TVrPersistent::Assign(const TVrPersistent& Source) {
    AssignError(Source);
}

void TVrPersistent::EndUpdate() {
    if (m_updateCount > 0)
        --m_updateCount;
    Changed();
}

void TVrPersistent::Changed() {
    if (OnChange && m_updateCount == 0)
        OnChange(this);
}

void TVrPersistent::AssignError(const TVrPersistent& Source) const {
    throw EAssignError(std::string("Cannot assign a ") + Source.ClassName() + " to a " + ClassName());
}
