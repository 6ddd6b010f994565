#include "view/ui/VariableSetsDialog.h"

#include "platform/CodePage.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QVBoxLayout>

namespace qv {
namespace {

const struct {
    const char* label;
    int id;
} kFields[VariableSets::kEntries] = {
    {"Name:", 1032},          {"Corporation:", 1019},  {"Street Address:", 1020}, {"City:", 1021},
    {"County:", 1022},        {"State:", 1023},        {"Zip Code:", 1024},       {"Corporate body:", 1025},
    {"Customer name:", 1026}, {"Phone Number:", 1027}, {"Department:", 1030},     {"Applicant:", 1033},
    {"Position:", 1034},      {"Employee:", 1035},
};

} // namespace

VariableSetsDialog::VariableSetsDialog(VariableSets& sets, platform::Profile& profile, UserMessages& messages,
                                       QWidget* parent)
    : QDialog(parent), editor_(sets, profile, messages) {
    setWindowTitle(QStringLiteral("Variable Sets"));
    setObjectName(QStringLiteral("variableSets142"));
    tabs_ = new QTabBar(this);
    tabs_->setObjectName(QStringLiteral("tabs1031"));
    for (int i = 1; i <= VariableSets::kSets; ++i)
        tabs_->addTab(QStringLiteral("Variable Set %1").arg(i));

    auto* form = new QFormLayout;
    for (int i = 0; i < VariableSets::kEntries; ++i) {
        edits_[i] = new QLineEdit(this);
        edits_[i]->setObjectName(QStringLiteral("edit%1").arg(kFields[i].id));
        edits_[i]->setAccessibleName(QString::fromLatin1(kFields[i].label).chopped(1));
        form->addRow(QString::fromLatin1(kFields[i].label), edits_[i]);
    }
    useForFuture_ = new QCheckBox(QStringLiteral("&Use this set for future templates"), this);
    useForFuture_->setObjectName(QStringLiteral("default1029"));
    applyNow_ = new QCheckBox(QStringLiteral("&Apply this variable set to this worksheet"), this);
    applyNow_->setObjectName(QStringLiteral("apply1036"));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton* help = buttons->addButton(QStringLiteral("&Help"), QDialogButtonBox::HelpRole);
    help->setObjectName(QStringLiteral("help1039"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addLayout(form);
    layout->addWidget(useForFuture_);
    layout->addWidget(applyNow_);
    layout->addWidget(buttons);

    tabs_->setCurrentIndex(editor_.shownSet());
    showSet();
    connect(tabs_, &QTabBar::currentChanged, this, [this](int index) {
        editor_.SwitchTo(index, edits());
        showSet();
    });
    connect(useForFuture_, &QCheckBox::clicked, this,
            [this](bool ticked) { useForFuture_->setChecked(editor_.ClickDefault(ticked)); });
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        setResult_ = editor_.Ok(edits(), applyNow_->isChecked());
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, [this] {
        setResult_ = VariableSetsEditor::kNoSet;
        reject();
    });
    connect(help, &QPushButton::clicked, this, [this] { emit helpRequested(2345); });
}

VariableSets::Set VariableSetsDialog::edits() const {
    VariableSets::Set set;
    for (int i = 0; i < VariableSets::kEntries; ++i)
        set[i] = CodePage::fromUtf8(edits_[i]->text().toStdString());
    return set;
}

void VariableSetsDialog::showSet() {
    const auto& values = editor_.shownValues();
    for (int i = 0; i < VariableSets::kEntries; ++i)
        edits_[i]->setText(QString::fromStdString(CodePage::toUtf8(values[i])));
    useForFuture_->setChecked(editor_.defaultTicked());
}

} // namespace qv
