#include "app/TrafficMemo.h"

#include "app/QuietScrollBar.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace {

// A scroll area lays its bars out again after every range change, through a queued call, in case a
// bar must show or hide: an event and a layout for every line of a growing log. Only a range that
// becomes empty, or stops being empty, can change that; other changes that leave the value where it
// is are made without the signal.
void SetRange(QScrollBar* bar, int minimum, int maximum) {
    const bool showingMayChange = (bar->minimum() < bar->maximum()) != (minimum < maximum);
    const bool valueMoves = bar->value() < minimum || bar->value() > maximum;
    QSignalBlocker blocker(bar);
    if (showingMayChange || valueMoves)
        blocker.unblock();
    bar->setRange(minimum, maximum);
}

} // namespace

TrafficMemo::TrafficMemo(QWidget* parent) : QAbstractScrollArea(parent) {
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    viewport()->setCursor(Qt::IBeamCursor);
    setFocusPolicy(Qt::WheelFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff); // see updateScrollBars
    fontChanged();
}

void TrafficMemo::setTabStopDistance(qreal distance) {
    tabStop_ = distance;
    fontChanged();
}

void TrafficMemo::layOut(QTextLayout& layout, const QString& line) const {
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    option.setTabStopDistance(tabStop_);
    layout.setText(line);
    layout.setFont(font());
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine textLine = layout.createLine();
    textLine.setLeadingIncluded(true);
    textLine.setPosition(QPointF(kMargin, 0));
    layout.endLayout();
}

// Tab stops counted from the start of the text, as the layout places them. Only the horizontal scroll
// bar's range depends on it, so a line is measured by its characters' advances (kept per character)
// rather than shaped: shaping every appended line cost as much as painting it.
qreal TrafficMemo::lineWidth(const QString& line) {
    qreal x = 0;
    for (const QChar c : line) {
        if (c == QLatin1Char('\t')) {
            x = tabStop_ > 0 ? (std::floor(x / tabStop_) + 1) * tabStop_ : x;
            continue;
        }
        auto known = advances_.constFind(c.unicode());
        if (known == advances_.constEnd())
            known = advances_.insert(c.unicode(), QFontMetricsF(font()).horizontalAdvance(c));
        x += *known;
    }
    return x;
}

void TrafficMemo::fontChanged() {
    QTextLayout probe;
    layOut(probe, QStringLiteral("0"));
    lineHeight_ = std::max(1, static_cast<int>(std::ceil(probe.lineAt(0).height())));
    advances_.clear();
    widest_ = 0;
    for (const QString& line : lines_)
        widest_ = std::max(widest_, lineWidth(line));
    updateScrollBars();
    viewport()->update();
}

int TrafficMemo::visibleLines() const {
    return std::max(1, viewport()->height() / lineHeight());
}

int TrafficMemo::firstVisibleLine() const {
    return verticalScrollBar()->value();
}

// The document's top margin shows only while the first line is at the top.
int TrafficMemo::lineTop(int line) const {
    const int first = firstVisibleLine();
    return (first == 0 ? kMargin : 0) + (line - first) * lineHeight();
}

void TrafficMemo::updateScrollBars() {
    QScrollBar* vertical = verticalScrollBar();
    const int shown = visibleLines();
    vertical->setPageStep(shown);
    vertical->setSingleStep(1);
    SetRange(vertical, 0, std::max(0, lineCount() - shown));

    QScrollBar* horizontal = horizontalScrollBar();
    const int width = static_cast<int>(std::ceil(widest_)) + 2 * kMargin;
    horizontal->setPageStep(viewport()->width());
    horizontal->setSingleStep(20);
    SetRange(horizontal, 0, std::max(0, width - viewport()->width()));
    // Shown while a line is wider than the view, as the "as needed" policy shows it; that policy also
    // starts a timer at every scroll (to flash the bar in styles that hide it), so one per line.
    const Qt::ScrollBarPolicy policy =
        horizontal->maximum() > horizontal->minimum() ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
    if (horizontalScrollBarPolicy() != policy)
        setHorizontalScrollBarPolicy(policy);
}

void TrafficMemo::appendLines(const QStringList& added) {
    if (added.isEmpty())
        return;
    QScrollBar* vertical = verticalScrollBar();
    const QuietScrollBar::Hold hold(vertical); // the range and the value change as one
    const bool atEnd = vertical->value() >= vertical->maximum();
    const int firstNew = lineCount();
    for (const QString& line : added) {
        lines_.append(line);
        widest_ = std::max(widest_, lineWidth(line));
    }
    updateScrollBars();
    if (atEnd)
        vertical->setValue(vertical->maximum()); // scrolls what is shown; the new lines are exposed
    updateLines(firstNew, lineCount() - 1);
    emit linesAppended(static_cast<int>(added.size()));
}

void TrafficMemo::appendPlainText(const QString& text) {
    appendLines(text.split(QLatin1Char('\n')));
}

void TrafficMemo::clear() {
    emit aboutToClear();
    lines_.clear();
    widest_ = 0;
    anchor_ = cursor_ = {};
    selecting_ = false;
    updateScrollBars();
    viewport()->update();
}

QString TrafficMemo::toPlainText() const {
    return lines_.join(QLatin1Char('\n'));
}

QString TrafficMemo::selectedText() const {
    if (!hasSelection())
        return {};
    const Place from = std::min(anchor_, cursor_);
    const Place to = std::max(anchor_, cursor_);
    if (from.line == to.line)
        return lines_[from.line].mid(from.column, to.column - from.column);
    QStringList parts;
    parts.append(lines_[from.line].mid(from.column));
    for (int line = from.line + 1; line < to.line; ++line)
        parts.append(lines_[line]);
    parts.append(lines_[to.line].left(to.column));
    return parts.join(QLatin1Char('\n'));
}

void TrafficMemo::selectAll() {
    if (lines_.isEmpty())
        return;
    anchor_ = {};
    cursor_ = {lineCount() - 1, static_cast<int>(lines_.last().size())};
    viewport()->update();
}

void TrafficMemo::copy() const {
    if (hasSelection())
        QApplication::clipboard()->setText(selectedText());
}

void TrafficMemo::updateLines(int first, int last) {
    const int top = lineTop(first);
    const int bottom = lineTop(last + 1);
    if (bottom <= 0 || top >= viewport()->height())
        return;
    viewport()->update(QRect(0, top, viewport()->width(), bottom - top));
}

void TrafficMemo::scrollContentsBy(int dx, int dy) {
    const int now = verticalScrollBar()->value();
    const int before = now + dy;
    auto offset = [this](int first) { return (first == 0 ? kMargin : 0) - first * lineHeight(); };
    viewport()->scroll(dx, offset(now) - offset(before));
}

void TrafficMemo::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void TrafficMemo::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        fontChanged();
}

void TrafficMemo::paintEvent(QPaintEvent* event) {
    if (lines_.isEmpty())
        return;
    QPainter painter(viewport());
    painter.setPen(palette().color(QPalette::Text));
    const QRect exposed = event->rect();
    const int first = firstVisibleLine();
    const int topLine = std::max(first, first + (exposed.top() - lineTop(first)) / lineHeight());
    const Place from = std::min(anchor_, cursor_);
    const Place to = std::max(anchor_, cursor_);
    const qreal x = -horizontalScrollBar()->value();
    for (int line = topLine; line < lineCount(); ++line) {
        const int top = lineTop(line);
        if (top > exposed.bottom())
            break;
        const bool selected = hasSelection() && line >= from.line && line <= to.line;
        QTextLayout layout;
        layOut(layout, lines_[line]);
        QList<QTextLayout::FormatRange> selection;
        if (selected) {
            QTextLayout::FormatRange range;
            range.start = line == from.line ? from.column : 0;
            const int end = line == to.line ? to.column : static_cast<int>(lines_[line].size());
            range.length = end - range.start;
            range.format.setBackground(palette().brush(QPalette::Highlight));
            range.format.setForeground(palette().brush(QPalette::HighlightedText));
            if (range.length > 0)
                selection.append(range);
        }
        layout.draw(&painter, QPointF(x, top), selection);
    }
}

TrafficMemo::Place TrafficMemo::placeAt(const QPoint& point) const {
    if (lines_.isEmpty())
        return {};
    const int first = firstVisibleLine();
    const int relative = point.y() - lineTop(first);
    int line = first + (relative < 0 ? -1 - (-relative - 1) / lineHeight() : relative / lineHeight());
    line = std::clamp(line, 0, lineCount() - 1);
    QTextLayout layout;
    layOut(layout, lines_[line]);
    const qreal x = point.x() + horizontalScrollBar()->value();
    return {line, layout.lineAt(0).xToCursor(x)};
}

void TrafficMemo::moveCursorTo(const Place& place) {
    if (place == cursor_)
        return;
    cursor_ = place;
    viewport()->update();
}

void TrafficMemo::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    const Place place = placeAt(event->position().toPoint());
    if (!(event->modifiers() & Qt::ShiftModifier))
        anchor_ = place;
    cursor_ = place;
    selecting_ = true;
    viewport()->update();
}

void TrafficMemo::mouseMoveEvent(QMouseEvent* event) {
    if (!selecting_)
        return;
    // Dragged past an edge: the view follows, a line at a time.
    QScrollBar* vertical = verticalScrollBar();
    const int y = event->position().toPoint().y();
    if (y < 0)
        vertical->setValue(vertical->value() - 1);
    else if (y > viewport()->height())
        vertical->setValue(vertical->value() + 1);
    moveCursorTo(placeAt(event->position().toPoint()));
}

void TrafficMemo::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && selecting_) {
        selecting_ = false;
        if (hasSelection() && QApplication::clipboard()->supportsSelection())
            QApplication::clipboard()->setText(selectedText(), QClipboard::Selection);
        return;
    }
    QAbstractScrollArea::mouseReleaseEvent(event);
}

// A word is what stands between blanks: a command, a reply, a line number.
void TrafficMemo::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || lines_.isEmpty())
        return;
    const Place place = placeAt(event->position().toPoint());
    const QString& line = lines_[place.line];
    auto blank = [&line](int i) { return line[i].isSpace(); };
    int start = std::min(place.column, static_cast<int>(line.size()));
    int end = start;
    while (start > 0 && !blank(start - 1))
        --start;
    while (end < line.size() && !blank(end))
        ++end;
    anchor_ = {place.line, start};
    cursor_ = {place.line, end};
    selecting_ = false;
    viewport()->update();
}

void TrafficMemo::keyPressEvent(QKeyEvent* event) {
    QScrollBar* vertical = verticalScrollBar();
    if (event == QKeySequence::Copy) {
        copy();
    } else if (event == QKeySequence::SelectAll) {
        selectAll();
    } else if (event == QKeySequence::MoveToStartOfDocument) {
        vertical->setValue(vertical->minimum());
    } else if (event == QKeySequence::MoveToEndOfDocument) {
        vertical->setValue(vertical->maximum());
    } else if (event->key() == Qt::Key_PageUp) {
        vertical->triggerAction(QAbstractSlider::SliderPageStepSub);
    } else if (event->key() == Qt::Key_PageDown) {
        vertical->triggerAction(QAbstractSlider::SliderPageStepAdd);
    } else if (event->key() == Qt::Key_Up) {
        vertical->triggerAction(QAbstractSlider::SliderSingleStepSub);
    } else if (event->key() == Qt::Key_Down) {
        vertical->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    } else {
        event->ignore();
        return;
    }
    event->accept();
}

void TrafficMemo::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    QAction* copyAction = menu.addAction(tr("&Copy"), this, &TrafficMemo::copy);
    copyAction->setShortcut(QKeySequence::Copy);
    copyAction->setEnabled(hasSelection());
    QAction* selectAllAction = menu.addAction(tr("Select All"), this, &TrafficMemo::selectAll);
    selectAllAction->setShortcut(QKeySequence::SelectAll);
    selectAllAction->setEnabled(!lines_.isEmpty());
    menu.exec(event->globalPos());
}
