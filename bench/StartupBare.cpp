// The yardstick: a bare Qt main window with a toolbar, a status bar and a text view
// holding three pages, quitting after its first paint.
#include "QuitOnFirstPaint.h"

#include <QApplication>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QToolBar>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.addToolBar(QStringLiteral("Main Toolbar"))->addAction(QStringLiteral("Open"));
    window.statusBar()->showMessage(QStringLiteral("Ready"));
    auto* text = new QPlainTextEdit(&window);
    QString pages;
    for (int i = 0; i < 135; ++i)
        pages += QStringLiteral("the lessee shall pay unto the lessor the monthly rent of the premises\n");
    text->setPlainText(pages);
    window.setCentralWidget(text);
    QuitOnFirstPaint quit;
    text->viewport()->installEventFilter(&quit);
    window.show();
    return QApplication::exec();
}
