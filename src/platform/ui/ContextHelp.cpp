#include "platform/ui/ContextHelp.h"

#include <QAction>
#include <QWhatsThis>
#include <QWidget>

namespace qv::platform {
namespace {

// The prompt already says what a command does; the tool tip is the short name left.
QString helpText(const QString& statusTip, const QString& toolTip) {
    return statusTip.isEmpty() ? toolTip : statusTip;
}

} // namespace

QAction* ContextHelp::Install(QWidget* window) {
    for (QAction* a : window->findChildren<QAction*>()) {
        if (a->whatsThis().isEmpty())
            a->setWhatsThis(helpText(a->statusTip(), a->toolTip()));
    }
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (w->whatsThis().isEmpty())
            w->setWhatsThis(helpText(w->statusTip(), w->toolTip()));
    }
    auto* key = new QAction(QStringLiteral("What's This?"), window);
    key->setObjectName(QStringLiteral("cmd%1").arg(kCommand));
    key->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F1));
    key->setShortcutContext(Qt::WindowShortcut);
    QObject::connect(key, &QAction::triggered, window, [] { QWhatsThis::enterWhatsThisMode(); });
    window->addAction(key);
    return key;
}

} // namespace qv::platform
