#include "shared/ui/PagePropertiesDialog.h"

#include "formengine/UserMessages.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>
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

// A copy of the printer's settings that can be changed without touching the printer.
std::unique_ptr<QPrinter> copySettings(QPrinter& printer) {
    auto copy = std::make_unique<QPrinter>(printer.resolution() >= 600 ? QPrinter::HighResolution
                                                                       : QPrinter::ScreenResolution);
    copy->setOutputFormat(printer.outputFormat());
    if (printer.outputFormat() == QPrinter::NativeFormat)
        copy->setPrinterName(printer.printerName());
    copy->setOutputFileName(printer.outputFileName());
    copy->setPageLayout(printer.pageLayout());
    copy->setPaperSource(printer.paperSource());
    return copy;
}

} // namespace

PagePropertiesDialog::PagePropertiesDialog(QPrinter& printer, const std::array<int, 4>& m, int orientation,
                                           QWidget* parent)
    : QDialog(parent), printer_(printer), settings_(copySettings(printer)) {
    setWindowTitle(QStringLiteral("Page Properties"));
    setObjectName(QStringLiteral("pageProperties1546"));

    auto* paper = new QGroupBox(QStringLiteral("Paper"), this);
    size_ = new QComboBox(paper);
    size_->setObjectName(QStringLiteral("size1137"));
    fillSizes();
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
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (!marginsFit()) {
            messages_->show("The margins are larger than the paper. Make them smaller, or choose a "
                            "larger paper.",
                            MessageIcon::Exclamation);
            return;
        }
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(printerButton, &QPushButton::clicked, this, [this] {
        // The printer's setup starts from what this dialog shows and comes back into it.
        settings_->setPageSize(papers_[size_->currentIndex()]);
        settings_->setPageOrientation(this->orientation() == 2 ? QPageLayout::Landscape
                                                               : QPageLayout::Portrait);
        emit printerRequested(settings_.get());
        chooseFromPrinter();
    });

    auto* row = new QHBoxLayout;
    row->addWidget(orientationBox);
    row->addWidget(margins);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(paper);
    layout->addLayout(row);
    layout->addWidget(buttons);
}

PagePropertiesDialog::~PagePropertiesDialog() = default;

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

void PagePropertiesDialog::fillSizes() {
    // The papers of the chosen printer; a file printer takes any, so the usual ones.
    const QPrinterInfo info(*settings_);
    papers_.clear();
    if (!info.isNull())
        for (const QPageSize& size : info.supportedPageSizes())
            papers_.push_back(size);
    if (papers_.empty())
        for (auto id : {QPageSize::Letter, QPageSize::Legal, QPageSize::Executive, QPageSize::Tabloid,
                        QPageSize::A3, QPageSize::A4, QPageSize::A5, QPageSize::B5})
            papers_.emplace_back(id);
    const QPageSize current = settings_->pageLayout().pageSize();
    auto it = std::find_if(papers_.begin(), papers_.end(),
                           [&](const QPageSize& p) { return p.isEquivalentTo(current); });
    if (it == papers_.end())
        it = papers_.insert(papers_.end(), current);
    const QSignalBlocker block(size_);
    size_->clear();
    for (const QPageSize& p : papers_)
        size_->addItem(p.name());
    size_->setCurrentIndex(static_cast<int>(it - papers_.begin()));
}

void PagePropertiesDialog::chooseFromPrinter() {
    fillSizes();
    (settings_->pageLayout().orientation() == QPageLayout::Landscape ? landscape_ : portrait_)
        ->setChecked(true);
}

bool PagePropertiesDialog::marginsFit() const {
    if (!messages_)
        return true;
    QSizeF paper = papers_[size_->currentIndex()].size(QPageSize::Inch) * 100.0;
    if (orientation() == 2)
        paper.transpose();
    const auto m = margins();
    return m[0] + m[2] < paper.width() && m[1] + m[3] < paper.height();
}

void PagePropertiesDialog::applyToPrinter() const {
    // A printer chosen under "Printer..." first, since choosing one resets its paper.
    if (settings_->outputFormat() == QPrinter::NativeFormat &&
        settings_->printerName() != printer_.printerName())
        printer_.setPrinterName(settings_->printerName());
    printer_.setPageSize(papers_[size_->currentIndex()]);
    printer_.setPageOrientation(orientation() == 2 ? QPageLayout::Landscape : QPageLayout::Portrait);
    printer_.setPaperSource(settings_->paperSource());
}

} // namespace qv
