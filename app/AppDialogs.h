#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

// The application's modal boxes: the standard exception box and the fixed message boxes of the pages.
// Both are replaceable so that tests run without a blocking dialog; an empty function restores the
// real box. User-interface thread only.
//
// One exception box at a time: while one is open (its modal loop keeps timers and the line running),
// another text waits and is shown after it, and a text already open or waiting is not added again.
class AppDialogs {
public:
    // While one exists, exception texts are gathered into a list instead of shown (without
    // repeats), so that the caller decides which to show once its work is done.
    class ExceptionCollector {
    public:
        explicit ExceptionCollector(QStringList& into);
        ExceptionCollector(const ExceptionCollector&) = delete;
        ExceptionCollector& operator=(const ExceptionCollector&) = delete;
        ~ExceptionCollector();

    private:
        QStringList* previous_;
    };

    enum class Icon { Warning, Error };
    enum class Buttons { Ok, OkCancel };

    using ExceptionBox = std::function<void(const QString& text)>;
    using MessageBox = std::function<bool(Icon icon, Buttons buttons, const QString& text)>;

    static void showException(const QString& text);
    // True when the user confirmed with OK; Cancel or closing the box gives false.
    static bool message(Icon icon, Buttons buttons, const QString& text);

    static void setExceptionBox(ExceptionBox box);
    static void setMessageBox(MessageBox box);
    // Parent of the real boxes (the main window); may be null.
    static void setOwner(QWidget* owner);
};
