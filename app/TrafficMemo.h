#pragma once

#include <QAbstractScrollArea>
#include <QHash>
#include <QStringList>

class QMenu;
class QTextLayout;

// The read-only memo of the traffic log (RCVS): one line per exchange, text selectable with the mouse
// and copied with Ctrl+C or the context menu. A text document laid out and repainted each appended
// line as a whole was most of a polling window's work; this memo keeps plain lines, measures each once
// when it comes, and paints only what is exposed: an appended line scrolls the view by one line and
// paints that line alone. It looks as a plain text edit with the same font, tab stops and margin does.
// The view stays at the end while it is there; scrolled up, it stays where the reader put it.
// User-interface thread only.
class TrafficMemo : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit TrafficMemo(QWidget* parent = nullptr);

    // Adds lines at the end (a text with line breaks adds one line for each).
    void appendLines(const QStringList& lines);
    void appendPlainText(const QString& text);
    void clear();

    int lineCount() const { return static_cast<int>(lines_.size()); }
    QString toPlainText() const;
    QString selectedText() const;
    void selectAll();
    void copy() const;

    void setTabStopDistance(qreal distance);
    // The first line shown, as the vertical scroll bar holds it.
    int firstVisibleLine() const;

    // The empty space around the text, as a text document keeps it.
    static constexpr int kMargin = 4;

signals:
    // After lines were added at the end (assistive technology hears of them).
    void linesAppended(int count);
    // Before the text goes.
    void aboutToClear();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    // A place in the text: a line and a character boundary within it.
    struct Place {
        int line = 0;
        int column = 0;
        bool operator==(const Place&) const = default;
        auto operator<=>(const Place&) const = default;
    };

    int lineHeight() const { return lineHeight_; }
    int visibleLines() const;    // whole lines the viewport shows
    int lineTop(int line) const; // in viewport coordinates
    qreal lineWidth(const QString& line);
    void layOut(QTextLayout& layout, const QString& line) const;
    Place placeAt(const QPoint& viewportPoint) const;
    bool hasSelection() const { return anchor_ != cursor_; }
    void moveCursorTo(const Place& place);
    void updateLines(int first, int last);
    void fontChanged();
    void updateScrollBars();

    QStringList lines_;
    qreal widest_ = 0; // the widest line's advance, tabs expanded
    int lineHeight_ = 1;
    qreal tabStop_ = 80;
    QHash<char16_t, qreal> advances_; // of the characters met so far, in the current font

    Place anchor_;
    Place cursor_;
    bool selecting_ = false;
};
