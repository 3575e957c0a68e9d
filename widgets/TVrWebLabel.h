#pragma once

#include "TVrHyperLink.h"

// A hyperlink label: releasing the left button over it asks the desktop to open URL (a web address,
// or a mail address with the mailto: scheme). OnClick fires first; OnError fires when the desktop
// cannot open URL (an empty URL always fails). OnMouseUp does not fire: the release is the label's.
// Where the application lets the keyboard reach it, Enter or Space follows the link as a click does.
// User-interface thread only.
class TVrWebLabel : public TVrHyperLink {
    Q_OBJECT
public:
    explicit TVrWebLabel(QWidget* parent = nullptr);

    QString URL() const { return m_url; }
    void SetURL(const QString& Value) { m_url = Value; }

    // What a click does: OnClick, then the desktop opens URL (OnError when it cannot). The keys and
    // assistive technology follow the link so.
    void Follow();

signals:
    void OnError(QObject* Sender);

protected:
    void MouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y) override;
    void KeyUp(int Key, Qt::KeyboardModifiers Shift) override;

private:
    void Open();

    QString m_url = QStringLiteral("https://www.example.com/");
};
