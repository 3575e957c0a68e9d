#pragma once

#include <QObject>
#include <vector>

class TVrChangeLink;

// A non-visual component that several widgets may follow through change links.
// Widgets that also need to know when the component goes away connect to QObject::destroyed.
class TVrSharedComponent : public QObject {
    Q_OBJECT
public:
    explicit TVrSharedComponent(QObject* parent = nullptr);
    ~TVrSharedComponent() override;

    void InsertLink(TVrChangeLink* Link);
    void RemoveLink(TVrChangeLink* Link);
    int LinkCount() const { return int(m_links.size()); }

protected:
    // Calls every link's callback, in the order the links were inserted.
    void NotifyLinks();

private:
    std::vector<TVrChangeLink*> m_links;
};
