#pragma once
// TEMPORARY stand-in until the widgets land.
#include <QLabel>
class TVrWebLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
    void SetCaption(const QString& c) { setText(c); }
    void SetURL(const QString& u) { url_ = u; }
    QString URL() const { return url_; }
    void SetFontLeave(const QFont& f, const QColor&) { setFont(f); }
    void SetFontEnter(const QFont&, const QColor&) {}
    void SetColorLeave(const QColor&) {}
    void SetColorEnter(const QColor&) {}
    void SetTextOutlineVisible(bool) {}
    void SetAlignment(Qt::Alignment a) { setAlignment(a); }
private:
    QString url_;
};
