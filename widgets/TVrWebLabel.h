#pragma once

#include "TVrHyperLink.h"

// A hyperlink label: releasing the left button over it asks the desktop to open URL (a web address,
// or a mail address with the mailto: scheme). OnClick fires first; OnError fires when the desktop
// cannot open URL (an empty URL always fails). OnMouseUp does not fire: the release is the label's.
// User-interface thread only.
class TVrWebLabel : public TVrHyperLink {
    Q_OBJECT
public:
    explicit TVrWebLabel(QWidget* parent = nullptr);

    QString URL() const { return m_url; }
    void SetURL(const QString& Value) { m_url = Value; }

signals:
    void OnError(QObject* Sender);

protected:
    void MouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y) override;

private:
    QString m_url = QStringLiteral("https://www.example.com/");
};
