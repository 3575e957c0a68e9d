#pragma once

#include <functional>
#include <stdexcept>
#include <string>

// Base of the small property objects a widget owns (bevel, palettes, text outline). A change of
// any property reports to the owner through OnChange, unless changes are being bracketed.
class TVrPersistent {
public:
    TVrPersistent() = default;
    TVrPersistent(const TVrPersistent&) = delete;
    TVrPersistent& operator=(const TVrPersistent&) = delete;
    virtual ~TVrPersistent() = default;

    virtual const char* ClassName() const { return "TVrPersistent"; }

    // Copies every property of a source of the same class, reporting one change. A source of any
    // other class throws EAssignError ("Cannot assign a X to a Y").
    virtual void Assign(const TVrPersistent& Source);

    void BeginUpdate() { ++m_updateCount; }
    void EndUpdate();
    int UpdateCount() const { return m_updateCount; }

    // The owner's callback; called with this object as the sender.
    std::function<void(TVrPersistent* Sender)> OnChange;

protected:
    void Changed();
    [[noreturn]] void AssignError(const TVrPersistent& Source) const;

    // The setters' rule: store and report only a value that differs.
    template <class T> void Store(T& field, const T& value) {
        if (field == value)
            return;
        field = value;
        Changed();
    }

private:
    int m_updateCount = 0;
};

class EAssignError : public std::invalid_argument {
public:
    using std::invalid_argument::invalid_argument;
};
