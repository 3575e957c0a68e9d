// The widget gallery: every indicator widget in its states, for looking at them by eye.
// Usage: widgets-gallery [--save out.png]   (with --save it writes the picture and exits; works
// with QT_QPA_PLATFORM=offscreen)
#include "GallerySections.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QGroupBox>
#include <QScrollArea>
#include <QVBoxLayout>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("widgets-gallery");
    QApplication::setFont(QFont("Sans Serif", 8));

    QCommandLineParser parser;
    parser.addHelpOption();
    QCommandLineOption save("save", "Write a PNG of the gallery to <file> and exit.", "file");
    parser.addOption(save);
    parser.process(app);

    QWidget page;
    auto* layout = new QVBoxLayout(&page);
    for (const GallerySection& section : AllSections()) {
        auto* box = new QGroupBox(section.Title);
        auto* boxLayout = new QVBoxLayout(box);
        boxLayout->addWidget(section.Build());
        layout->addWidget(box);
    }
    layout->addStretch();
    page.adjustSize();

    if (parser.isSet(save)) {
        const QString file = parser.value(save);
        if (!page.grab().save(file, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            return 1;
        }
        return 0;
    }

    QScrollArea window;
    window.setWindowTitle("TVr widget gallery");
    window.setWidget(&page);
    window.resize(page.width() + 20, std::min(page.height() + 20, 900));
    window.show();
    const int rc = QApplication::exec();
    window.takeWidget();
    return rc;
}
