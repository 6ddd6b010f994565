// The help pages name menu items, buttons, tick boxes, labels and window titles; each name
// marked <b class="ui"> must be on screen, with that text, in the program the page says
// (<meta name="program" content="QVLEGAL QVEDIT ...">; QVLEGAL when a page says none).
// A name the page tells the user to click must be a button, one to tick a tick box.
#include "catalogue/CatalogueData.h"
#include "catalogue/FormLauncher.h"
#include "catalogue/ui/AboutBox.h"
#include "catalogue/ui/CatalogueWindow.h"
#include "catalogue/ui/DisclaimerDialog.h"
#include "catalogue/ui/KeywordSearchDialog.h"
#include "catalogue/ui/StartScreen.h"
#include "editor/ui/CMainFrame.h"
#include "entry/ui/CMainFrame.h"
#include "entry/ui/OptionsDialog.h"
#include "platform/ui/HelpFile.h"
#include "setup/InstallProcedure.h"
#include "setup/ui/SetupDialogs.h"
#include "setup/ui/SetupWindow.h"
#include "support/DocFixture.h"
#include "support/TemplateBuilder.h"
#include "view/ui/FirstTimeHelpDialog.h"
#include "shared/ui/PagePropertiesDialog.h"
#include "view/ui/PrintFileOptionsDialog.h"
#include "view/ui/VariableSetsDialog.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTabBar>
#include <QTextDocument>
#include <QToolButton>
#include <algorithm>
#include <map>
#include <set>

using namespace qv;

namespace {

const QString kHelp = QStringLiteral(QV_STAGE_DIR "/QVLEGAL.HLP");

/// What the user reads: the mnemonic marks gone ("&&" is a plain "&"), a menu item's
/// shortcut after the tab dropped, blanks simplified.
QString shown(const QString& text) {
    QString out;
    const QString label = text.section(QLatin1Char('\t'), 0, 0);
    for (qsizetype i = 0; i < label.size(); ++i) {
        if (label[i] == QLatin1Char('&') && i + 1 < label.size())
            ++i;
        out += label[i];
    }
    return out.simplified();
}

/// What a page asks the user to do with a control.
enum class Use { Read, Click, Tick };

/// Every name one program shows: window titles, actions, menu paths ("File > Open..."),
/// buttons, tick boxes, labels, group boxes, tabs and fixed lists.
class Names {
public:
    void add(const QString& text, Use use = Use::Read) {
        const QString s = shown(text);
        if (s.isEmpty())
            return;
        names_.insert(s);
        if (s.endsWith(QLatin1Char(':'))) // a label's colon is not part of the name
            names_.insert(s.chopped(1));
        if (use != Use::Read)
            (use == Use::Tick ? ticked_ : clicked_).insert(s);
    }

    void addWindow(QWidget* window) {
        add(window->windowTitle());
        // "Untitled - Q-V Print File Editor": the program's own title is the last part.
        add(window->windowTitle().section(QStringLiteral(" - "), -1));
        for (QAction* a : window->findChildren<QAction*>()) {
            add(a->text());
            add(a->iconText());
        }
        for (QMenuBar* bar : window->findChildren<QMenuBar*>())
            for (QAction* a : bar->actions())
                addMenu(a, {});
        for (QAbstractButton* b : window->findChildren<QAbstractButton*>()) {
            add(b->text(), qobject_cast<QCheckBox*>(b) ? Use::Tick : Use::Click);
            // A picture button draws its words in the picture; its accessible name says them.
            if (!qobject_cast<QPushButton*>(b) && !qobject_cast<QCheckBox*>(b) &&
                !qobject_cast<QRadioButton*>(b) && !qobject_cast<QToolButton*>(b))
                pictures_.insert(shown(b->accessibleName()).toLower());
        }
        for (QLabel* l : window->findChildren<QLabel*>())
            if (l->textFormat() != Qt::RichText && !Qt::mightBeRichText(l->text()))
                add(l->text());
        for (QGroupBox* g : window->findChildren<QGroupBox*>())
            add(g->title());
        for (QTabBar* t : window->findChildren<QTabBar*>())
            for (int i = 0; i < t->count(); ++i)
                add(t->tabText(i), Use::Click);
        for (QDockWidget* d : window->findChildren<QDockWidget*>())
            add(d->windowTitle());
        // The fixed lists only; an editable box's suggestions are not names.
        for (QComboBox* c : window->findChildren<QComboBox*>())
            if (!c->isEditable())
                for (int i = 0; i < c->count(); ++i)
                    add(c->itemText(i));
    }

    /// The buttons of the programs' message boxes.
    void addMessageButtons() {
        QMessageBox box;
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel | QMessageBox::Yes | QMessageBox::No);
        for (QAbstractButton* b : box.buttons())
            add(b->text(), Use::Click);
    }

    bool has(const QString& name, Use use) const {
        if (use != Use::Tick && std::any_of(pictures_.begin(), pictures_.end(),
                                            [&](const QString& p) { return captionOf(name, p); }))
            return true;
        const auto& names = use == Use::Read ? names_ : use == Use::Tick ? ticked_ : clicked_;
        return names.count(name) > 0;
    }

private:
    /// A picture's caption may be shorter than its accessible name ("Open Saved", "Open a
    /// saved document"): its words, in that order, with any case.
    static bool captionOf(const QString& caption, const QString& accessibleName) {
        const QStringList words = accessibleName.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        qsizetype at = 0;
        for (const QString& w : caption.toLower().split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            while (at < words.size() && words[at] != w)
                ++at;
            if (at++ == words.size())
                return false;
        }
        return !caption.isEmpty();
    }

    void addMenu(QAction* a, const QString& path) {
        const QString item = shown(a->text());
        if (item.isEmpty())
            return;
        const QString here = path.isEmpty() ? item : path + QStringLiteral(" > ") + item;
        names_.insert(here);
        if (QMenu* menu = a->menu())
            for (QAction* child : menu->actions())
                addMenu(child, here);
    }

    std::set<QString> names_;
    std::set<QString> clicked_;
    std::set<QString> ticked_;
    std::set<QString> pictures_;
};

struct Marked {
    QString name;
    Use use;
};

struct Page {
    QString file;
    QStringList programs;
    std::vector<Marked> marked; // the names marked as controls
    QStringList unmarked;       // bold text that is not marked
    QString shownText;          // what the reader sees
};

/// "Click <b>..." asks for a button, "Tick <b>..." or "Untick <b>..." for a tick box.
Use useBefore(const QString& html, qsizetype at) {
    static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
    const QString before = QString(html.left(at)).remove(tag).simplified();
    const QString word = before.section(QLatin1Char(' '), -1).toLower();
    if (word == QStringLiteral("click") || word == QStringLiteral("double-click"))
        return Use::Click;
    if (word == QStringLiteral("tick") || word == QStringLiteral("untick"))
        return Use::Tick;
    return Use::Read;
}

QString decoded(QString html) {
    html.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    html.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    html.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
    html.replace(QStringLiteral("&nbsp;"), QStringLiteral(" "));
    html.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    return html.simplified();
}

/// The pages as the help file holds them.
std::vector<Page> helpPages() {
    std::vector<Page> pages;
    auto file = platform::HelpFile::Open(kHelp);
    if (!file)
        return pages;
    const QString root = QLatin1Char(':') + file->root() + QLatin1Char('/');
    static const QRegularExpression program(
        QStringLiteral(R"re(<meta\s+name="program"\s+content="([^"]*)")re"));
    static const QRegularExpression bold(QStringLiteral(R"(<b(\s[^>]*)?>(.*?)</b>)"),
                                         QRegularExpression::DotMatchesEverythingOption);
    for (const QString& name : QDir(root).entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name)) {
        QFile f(root + name);
        if (!f.open(QIODevice::ReadOnly))
            continue;
        const QString html = QString::fromUtf8(f.readAll());
        Page page{name, {QStringLiteral("QVLEGAL")}, {}, {}, {}};
        QTextDocument reader;
        reader.setHtml(html);
        page.shownText = reader.toPlainText();
        if (const auto m = program.match(html); m.hasMatch())
            page.programs = m.captured(1).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        for (auto it = bold.globalMatch(html); it.hasNext();) {
            const auto m = it.next();
            if (m.captured(1).trimmed() == QStringLiteral("class=\"ui\""))
                page.marked.push_back({decoded(m.captured(2)), useBefore(html, m.capturedStart())});
            else
                page.unmarked << decoded(m.captured(2));
        }
        pages.push_back(std::move(page));
    }
    return pages;
}

/// The four programs built as they start, with the dialogs they open.
class HelpNames : public test::DocFixture {
protected:
    void SetUp() override {
        collectVariableEntry();
        collectEditor();
        collectCatalogue();
        collectSetup();
        for (auto& [program, names] : programs)
            names.addMessageButtons();
    }
    void TearDown() override { host.forward = nullptr; }

    void collectVariableEntry() {
        Names& names = programs[QStringLiteral("QVLEGAL")];
        CMainFrame frame(doc, messages, profile, [] { return std::chrono::milliseconds(50000); });
        host.forward = &frame;
        const std::string form = dir.write("lease.qvf", test::TemplateBuilder()
                                                            .declare("TENANT", "Who is renting?")
                                                            .declare("RENT", "What is the rent?")
                                                            .declare("TOTAL", "Total.")
                                                            .body("Let to |TENANT| for \xF1"
                                                                  "DAA0110|RENT| a month, "
                                                                  "\xF1"
                                                                  "CAB0110[AA*12]|TOTAL| a year.\xAE")
                                                            .bytes())
                                     .string();
        ASSERT_TRUE(frame.OpenDocumentFile(QString::fromStdString(form) + QStringLiteral("?Lease")));
        frame.UpdatePass();
        names.addWindow(&frame);
        // On the last question Next reads otherwise.
        frame.interview().Next();
        frame.interview().Next();
        frame.UpdatePass();
        names.addWindow(&frame);
        VariableSetsDialog sets(state.variableSets, profile, messages, &frame);
        QPrinter printer;
        PagePropertiesDialog page(printer, {100, 100, 100, 100}, 1, &frame);
        PrintFileOptionsDialog options(profile, &frame);
        FirstTimeHelpDialog firstTime(&frame);
        OptionsDialog programOptions(&frame);
        for (QWidget* w : std::initializer_list<QWidget*>{&sets, &page, &options, &firstTime, &programOptions})
            names.addWindow(w);
        host.forward = nullptr;
        doc.SetModifiedFlag(false);
        messages.clear();
    }

    void collectEditor() {
        Names& names = programs[QStringLiteral("QVEDIT")];
        platform::IniProfile editorProfile{dir / "QVEdit.ini"};
        editor::CMainFrame frame(editorProfile, messages);
        frame.NewDocument();
        names.addWindow(&frame);
        QPrinter printer;
        PagePropertiesDialog page(printer, {0, 0, 0, 0}, 1, &frame);
        names.addWindow(&page);
    }

    void collectCatalogue() {
        Names& names = programs[QStringLiteral("BANROW")];
        const std::filesystem::path folder = QV_CATALOGUE_DIR;
        std::string message;
        catalogue::CatalogueData data;
        ASSERT_TRUE(data.Load(folder, message)) << message;
        catalogue::FormLauncher launcher{(folder / "").string()};
        catalogue::WindowHooks hooks;
        catalogue::StartScreen start(launcher, hooks);
        catalogue::CatalogueWindow window(data, launcher, messages, hooks);
        catalogue::KeywordSearchDialog search(data, launcher, messages, hooks, &window);
        catalogue::AboutBox about(&window);
        catalogue::DisclaimerDialog disclaimer(&window);
        for (QWidget* w : std::initializer_list<QWidget*>{&start, &window, &search, &about, &disclaimer})
            names.addWindow(w);
    }

    void collectSetup() {
        Names& names = programs[QStringLiteral("QVSETUP")];
        setup::SetupWindow window;
        setup::ChangeFolderDialog folder(QStringLiteral("/tmp/Q-V Davov Software"), &window);
        setup::DecompressDialog progress(&window);
        for (QWidget* w : std::initializer_list<QWidget*>{&window, &folder, &progress})
            names.addWindow(w);
        // The desktop menu the setup makes: its group and the group's items.
        static const QRegularExpression request(QStringLiteral(R"(^\[(CreateGroup|AddItem)\((.*)\)\]$)"));
        for (const std::string& r : setup::InstallProcedure::GroupRequests("/opt/qv", true))
            if (const auto m = request.match(QString::fromStdString(r)); m.hasMatch())
                names.add(m.captured(1) == QStringLiteral("AddItem")
                              ? m.captured(2).section(QLatin1Char(','), -1)
                              : m.captured(2));
    }

    test::TempHome home;
    std::map<QString, Names> programs;
};

} // namespace

TEST_F(HelpNames, EveryControlAPageNamesIsInItsProgram) {
    const auto pages = helpPages();
    ASSERT_GE(pages.size(), 10u) << "no help pages in " << kHelp.toStdString();
    int checked = 0;
    for (const Page& page : pages) {
        for (const QString& program : page.programs)
            EXPECT_TRUE(programs.count(program))
                << page.file.toStdString() << ": no program " << program.toStdString();
        for (const auto& [name, use] : page.marked) {
            ++checked;
            const bool found = std::any_of(page.programs.begin(), page.programs.end(), [&](const QString& p) {
                return programs.count(p) && programs.at(p).has(name, use);
            });
            const char* what = use == Use::Click ? "a button" : use == Use::Tick ? "a tick box" : "shown";
            EXPECT_TRUE(found) << page.file.toStdString() << ": \"" << name.toStdString() << "\" is not "
                               << what << " in " << page.programs.join(QStringLiteral(", ")).toStdString();
        }
    }
    EXPECT_GE(checked, 50) << "the pages name the controls they talk about, marked <b class=\"ui\">";
}

TEST(HelpPages, BoldTextIsAMarkedControlNameAndTheMarkingIsNotShown) {
    // Bold is kept for the names of controls, so that none escapes the check above.
    for (const Page& page : helpPages()) {
        for (const QString& text : page.unmarked)
            ADD_FAILURE() << page.file.toStdString() << ": <b>" << text.toStdString()
                          << "</b> is not marked class=\"ui\"";
        for (const QString& program : page.programs)
            EXPECT_FALSE(page.shownText.contains(program)) << page.file.toStdString();
    }
}
