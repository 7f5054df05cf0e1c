#include "plot/CBarPlotView.h"

#include "plot/PlotFiles.h"

#include "widgets/IgorText.h"
#include "widgets/ValueStepper.h"

#include "platform/AlertService.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPainter>

#include <array>
#include <charconv>

namespace quorvel {

namespace {

constexpr qreal kLabelFontSize = 10;  // points, the size of the platform's control labels

// "%18e": C exponent notation, six decimals, right-aligned in 18 characters.
QByteArray formatIgorValue(double value)
{
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::scientific, 6);
    return QByteArray(buffer.data(), result.ptr - buffer.data()).rightJustified(18, ' ');
}

// One item of the "Barplot" menu: its title, what it runs, how it shows the chart's
// state (none: a plain item) and whether it carries a check mark. A row without a title
// is a separator.
struct BarMenuRow {
    const char* title;
    void (CBarPlotView::*perform)();
    void (*validate)(const CBarPlotView& view, QAction& item);
    bool checkable = false;
};

template <CBarPlotView::Mode mode>
void checkedInMode(const CBarPlotView& view, QAction& item)
{
    item.setChecked(view.mode() == mode);
}

const BarMenuRow kMenuRows[] = {
    {"Logarithmic scale", &CBarPlotView::onToggleScale,
     [](const CBarPlotView& view, QAction& item) {
         item.setText(view.isLogarithmic() ? QStringLiteral("Set linear scale")
                                           : QStringLiteral("Set logarithmic scale"));
     }},
    {"Hide grid", &CBarPlotView::onToggleGrid,
     [](const CBarPlotView& view, QAction& item) {
         item.setText(view.showsGrid() ? QStringLiteral("Hide grid") : QStringLiteral("Show grid"));
     }},
    {nullptr, nullptr, nullptr},
    {"Bars", &CBarPlotView::onSetBars, checkedInMode<CBarPlotView::Mode::Bars>, true},
    {"Lines", &CBarPlotView::onSetLines, checkedInMode<CBarPlotView::Mode::Lines>, true},
    {"Lines and markers", &CBarPlotView::onSetLinesMarkers, checkedInMode<CBarPlotView::Mode::LinesAndMarkers>, true},
    {nullptr, nullptr, nullptr},
    {"Save as PDF...", &CBarPlotView::onPrintPlot, nullptr},
    {"Export to Igor...", &CBarPlotView::onExportToIgor, nullptr},
};

const char* const kMenuRowProperty = "barMenuRow";

} // namespace

CBarPlotView::CBarPlotView(QWidget* parent) : QWidget(parent)
{
    mTicksFont = QApplication::font("QLabel");
    mTicksFont.setPointSizeF(kLabelFontSize);
    buildMenu();
    buildStepper();
}

CBarPlotView::~CBarPlotView() = default;

void CBarPlotView::buildMenu()
{
    mPlotMenu = new QMenu(QStringLiteral("Barplot"), this);
    for (std::size_t index = 0; index < std::size(kMenuRows); ++index) {
        const BarMenuRow& row = kMenuRows[index];
        if (!row.title) {
            mPlotMenu->addSeparator();
            continue;
        }
        QAction* item = mPlotMenu->addAction(QString::fromLatin1(row.title));
        item->setProperty(kMenuRowProperty, static_cast<int>(index));
        item->setCheckable(row.checkable);
        connect(item, &QAction::triggered, this, row.perform);
    }
    connect(mPlotMenu, &QMenu::aboutToShow, this, &CBarPlotView::validateMenuItems);
}

void CBarPlotView::buildStepper()
{
    mStepper = new ValueStepper(this);
    mStepper->setGeometry(1, 0, 20, 30);  // the top-left corner
    mStepper->setMinimum(0);
    mStepper->setMaximum(100);
    mStepper->setValue(100);
    mStepper->setIncrement(1);
    connect(mStepper, &ValueStepper::stepped, this, &CBarPlotView::onStepYmax);
}

void CBarPlotView::validateMenuItems()
{
    for (QAction* item : mPlotMenu->actions()) {
        const QVariant index = item->property(kMenuRowProperty);
        if (!index.isValid())
            continue;
        const BarMenuRow& row = kMenuRows[index.toInt()];
        if (row.validate)
            row.validate(*this, *item);
    }
}

QMenu* CBarPlotView::menuForEvent(QContextMenuEvent*) const
{
    return mPlotMenu;
}

void CBarPlotView::contextMenuEvent(QContextMenuEvent* event)
{
    menuForEvent(event)->exec(event->globalPos());
}

void CBarPlotView::setReferenceLabels(const QStringList& labels, const std::vector<double>& values)
{
    mReferenceLabels = labels;
    mReferenceValues = values;
}

void CBarPlotView::setMinimum(float minimum, float maximum)
{
    mMinimum = minimum;
    mMaximum = maximum;
    mStepper->setMinimum(minimum);
    mStepper->setMaximum(maximum);
}

void CBarPlotView::onToggleScale()
{
    mLogarithmic = mLogarithmic ? 0 : 1;
    update();
}

void CBarPlotView::onToggleGrid()
{
    mShowGrid = mShowGrid ? 0 : 1;
    update();
}

void CBarPlotView::onSetBars()
{
    mMode = Mode::Bars;
    update();
}

void CBarPlotView::onSetLines()
{
    mMode = Mode::Lines;
    update();
}

void CBarPlotView::onSetLinesMarkers()
{
    mMode = Mode::LinesAndMarkers;
    update();
}

void CBarPlotView::onStepYmax()
{
    mMaximum = static_cast<float>(mStepper->value());
    update();
}

void CBarPlotView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    drawChart(painter, size());
}

QByteArray CBarPlotView::pdfData() const
{
    return pdfOfSize(QSizeF(size()), [this](QPainter& painter) { drawChart(painter, size()); });
}

QByteArray CBarPlotView::igorText() const
{
    const QByteArray index = QByteArray::number(mIgorIndex);
    QByteArray text = "IGOR\nWAVES v" + index + "\nBEGIN\r\n";
    for (const double value : mValues)
        text += '\t' + formatIgorValue(value) + "\r\n";
    text += "END\r\nWAVES/T s" + index + "\r\nBEGIN\r\n";
    for (const QString& label : mLabels)
        text += "\t\"" + escapeIgorString(label) + "\"\r\n";
    text += "END\r\n";
    return text;
}

bool CBarPlotView::writePdf(const QString& path)
{
    const QByteArray pdf = pdfData();
    if (pdf.isEmpty()) {
        showAlert(tr("The chart could not be made into a PDF document."));
        return false;
    }
    return writeExportFile(path, pdf);
}

bool CBarPlotView::writeIgorText(const QString& path)
{
    if (!writeExportFile(path, igorText()))
        return false;
    ++mIgorIndex;
    return true;
}

void CBarPlotView::onPrintPlot()
{
    if (const auto path = chooseExportFile(QStringLiteral("plot.pdf"), QStringLiteral("pdf"), this))
        writePdf(*path);
}

void CBarPlotView::onExportToIgor()
{
    const QString proposed = QStringLiteral("data%1.itx").arg(mIgorIndex);
    if (const auto path = chooseExportFile(proposed, QStringLiteral("itx"), this))
        writeIgorText(*path);
}

} // namespace quorvel
