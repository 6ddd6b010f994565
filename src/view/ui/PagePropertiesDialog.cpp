#include "view/ui/PagePropertiesDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <cmath>

namespace qv {
namespace {

QDoubleSpinBox* inchBox(const char* name, int hundredths, QWidget* parent) {
    auto* box = new QDoubleSpinBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(0.0, 20.0);
    box->setDecimals(3); // thousandths of an inch, as the page setup dialog takes them
    box->setSingleStep(0.25);
    box->setSuffix(QStringLiteral("\""));
    box->setValue(hundredths / 100.0);
    return box;
}

// Thousandths of an inch, then divided by 10 with the remainder dropped.
int hundredths(const QDoubleSpinBox* box) {
    return static_cast<int>(std::lround(box->value() * 1000.0)) / 10;
}

} // namespace

PagePropertiesDialog::PagePropertiesDialog(QPrinter& printer, const std::array<int, 4>& m, int orientation,
                                           QWidget* parent)
    : QDialog(parent), printer_(printer) {
    setWindowTitle(QStringLiteral("Page Properties"));
    setObjectName(QStringLiteral("pageProperties1546"));

    auto* paper = new QGroupBox(QStringLiteral("Paper"), this);
    size_ = new QComboBox(paper);
    size_->setObjectName(QStringLiteral("size1137"));
    for (auto id : {QPageSize::Letter, QPageSize::Legal, QPageSize::A4, QPageSize::Executive, QPageSize::A5})
        size_->addItem(QPageSize::name(id), int(id));
    size_->setCurrentIndex(std::max(0, size_->findData(int(printer.pageLayout().pageSize().id()))));
    source_ = new QComboBox(paper);
    source_->setObjectName(QStringLiteral("source1138"));
    source_->addItem(QStringLiteral("Automatically Select"));
    auto* paperForm = new QFormLayout(paper);
    paperForm->addRow(QStringLiteral("Si&ze:"), size_);
    paperForm->addRow(QStringLiteral("&Source:"), source_);

    auto* orientationBox = new QGroupBox(QStringLiteral("Orientation"), this);
    portrait_ = new QRadioButton(QStringLiteral("P&ortrait"), orientationBox);
    portrait_->setObjectName(QStringLiteral("portrait1056"));
    landscape_ = new QRadioButton(QStringLiteral("L&andscape"), orientationBox);
    landscape_->setObjectName(QStringLiteral("landscape1057"));
    (orientation == 2 ? landscape_ : portrait_)->setChecked(true);
    auto* orientationLayout = new QVBoxLayout(orientationBox);
    orientationLayout->addWidget(portrait_);
    orientationLayout->addWidget(landscape_);

    auto* margins = new QGroupBox(QStringLiteral("Margins"), this);
    left_ = inchBox("left1155", m[0], margins);
    top_ = inchBox("top1156", m[1], margins);
    right_ = inchBox("right1157", m[2], margins);
    bottom_ = inchBox("bottom1158", m[3], margins);
    auto* marginForm = new QFormLayout(margins);
    marginForm->addRow(QStringLiteral("&Top:"), top_);
    marginForm->addRow(QStringLiteral("&Left:"), left_);
    marginForm->addRow(QStringLiteral("&Right:"), right_);
    marginForm->addRow(QStringLiteral("&Bottom:"), bottom_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton* printerButton =
        buttons->addButton(QStringLiteral("&Printer..."), QDialogButtonBox::ActionRole);
    printerButton->setObjectName(QStringLiteral("printer1026"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(printerButton, &QPushButton::clicked, this, &PagePropertiesDialog::printerRequested);

    auto* row = new QHBoxLayout;
    row->addWidget(orientationBox);
    row->addWidget(margins);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(paper);
    layout->addLayout(row);
    layout->addWidget(buttons);
}

std::array<int, 4> PagePropertiesDialog::margins() const {
    return {hundredths(left_), hundredths(top_), hundredths(right_), hundredths(bottom_)};
}

std::array<int, 4> PagePropertiesDialog::thousandths() const {
    const auto t = [](const QDoubleSpinBox* b) { return static_cast<int>(std::lround(b->value() * 1000.0)); };
    return {t(left_), t(top_), t(right_), t(bottom_)};
}

void PagePropertiesDialog::setThousandths(const std::array<int, 4>& m) {
    left_->setValue(m[0] / 1000.0);
    top_->setValue(m[1] / 1000.0);
    right_->setValue(m[2] / 1000.0);
    bottom_->setValue(m[3] / 1000.0);
}

int PagePropertiesDialog::orientation() const {
    return landscape_->isChecked() ? 2 : 1;
}

void PagePropertiesDialog::applyToPrinter() const {
    printer_.setPageSize(QPageSize(QPageSize::PageSizeId(size_->currentData().toInt())));
    printer_.setPageOrientation(orientation() == 2 ? QPageLayout::Landscape : QPageLayout::Portrait);
}

} // namespace qv
