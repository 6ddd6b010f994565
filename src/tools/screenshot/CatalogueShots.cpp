// Pictures of the catalogue's windows for looking at the design, on the offscreen
// platform: qv_catalogue_screenshot OUTDIR PROGRAM-FOLDER
#include "catalogue/CatalogueData.h"
#include "catalogue/FormLauncher.h"
#include "catalogue/ui/AboutBox.h"
#include "catalogue/ui/CatalogueWindow.h"
#include "catalogue/ui/DisclaimerDialog.h"
#include "catalogue/ui/FormsList.h"
#include "catalogue/ui/KeywordSearchDialog.h"
#include "catalogue/ui/StartScreen.h"
#include "shared/ui/QtMessages.h"

#include <QApplication>
#include <QComboBox>
#include <QTest>
#include <cstdio>

using namespace qv::catalogue;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fputs("usage: qv_catalogue_screenshot OUTDIR PROGRAM-FOLDER\n", stderr);
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    const std::string folder = std::string(argv[2]) + "/";
    FormLauncher launcher(folder);
    qv::QtMessages messages;
    WindowHooks hooks;
    const auto shoot = [&](QWidget& w, const char* name) {
        w.show();
        QTest::qWait(30);
        w.grab().save(out + QLatin1Char('/') + QString::fromLatin1(name) + QStringLiteral(".png"));
    };
    StartScreen start(launcher, hooks);
    shoot(start, "start");
    start.hide();
    CatalogueData data;
    std::string message;
    if (!data.Load(folder, message))
        return 1;
    CatalogueWindow window(data, launcher, messages, hooks);
    shoot(window, "catalogue-collapsed");
    window.ShowCategory(8);
    window.formsList()->selectRow(1);
    emit window.formsList()->clicked();
    shoot(window, "catalogue-grown");
    KeywordSearchDialog search(data, launcher, messages, hooks, &window);
    shoot(search, "keyword-collapsed");
    search.searchBox()->setEditText(QStringLiteral("rent"));
    search.FindNow();
    shoot(search, "keyword-results");
    AboutBox about(&window);
    shoot(about, "about");
    DisclaimerDialog disclaimer(&window);
    shoot(disclaimer, "disclaimer");
    return 0;
}
