#pragma once

#include <functional>

class TVrSharedComponent;

// A subscription to a TVrSharedComponent. Deleting the link unsubscribes it; deleting the
// component clears the link's sender.
class TVrChangeLink {
public:
    TVrChangeLink() = default;
    TVrChangeLink(const TVrChangeLink&) = delete;
    TVrChangeLink& operator=(const TVrChangeLink&) = delete;
    ~TVrChangeLink();

    TVrSharedComponent* Sender() const { return m_sender; }

    // Called (with the component) when the component changes.
    std::function<void(TVrSharedComponent* Sender)> OnChange;

private:
    friend class TVrSharedComponent;
    TVrSharedComponent* m_sender = nullptr;
};
