#include "plot/CPointSettingsWindow.h"

#include "plot/CGraphObject.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>

namespace quorvel {

namespace {

// A swatch of the marker of `code`, as a plot draws it.
QIcon markerIcon(MarkerCode code)
{
    constexpr int side = 16;
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    // Marker outlines are built with y growing upward.
    painter.setTransform(QTransform(1, 0, 0, -1, 0, side));
    const QPainterPath marker = CGraphObject::constructPoint0(code, 5.0f, 5.0f, side / 2.0f, side / 2.0f);
    if (isFilledMarker(code))
        painter.fillPath(marker, Qt::black);
    else
        painter.strokePath(marker, QPen(Qt::black, 1.3));
    return QIcon(pixmap);
}

const char* const kMarkerNames[CPointSettingsWindow::kMarkerTypeCount] = {
    "Filled circle",        "Circle",      "Filled square", "Square",        "Plus",           "Cross",
    "Filled triangle up",   "Filled triangle down", "Triangle up", "Triangle down", "Filled diamond", "Diamond"};

// Item i of the marker shape pop-up stands for marker code i + 1.
MarkerCode markerCodeOfItem(int item)
{
    return markerCodeFromNumber(item + 1);
}

int itemOfMarkerCode(MarkerCode code)
{
    return code_number(code) - 1;
}

} // namespace

CPointSettingsWindow* CPointSettingsWindow::sharedPointsSettingsCtroller()
{
    static CPointSettingsWindow* const gPointsSettingsCtroller = new CPointSettingsWindow;
    return gPointsSettingsCtroller;
}

CPointSettingsWindow::CPointSettingsWindow()
    : SettingsPanelController(QStringLiteral("CPointsSettingsPanel"), tr("Marker Settings"), QString())
{
}

void CPointSettingsWindow::buildControls(QGridLayout* grid)
{
    QWidget* panel = grid->parentWidget();
    mSizeMenu = new QComboBox(panel);
    mSizeMenu->setObjectName(QStringLiteral("mSizeMenu"));
    for (int size = 1; size <= kSizeCount; ++size)
        mSizeMenu->addItem(QString::number(size));
    mMarkerTypeMenu = new QComboBox(panel);
    mMarkerTypeMenu->setObjectName(QStringLiteral("mMarkerTypeMenu"));
    for (int item = 0; item < kMarkerTypeCount; ++item)
        mMarkerTypeMenu->addItem(markerIcon(markerCodeOfItem(item)), tr(kMarkerNames[item]));

    grid->addWidget(new QLabel(tr("Size:"), panel), 0, 0);
    grid->addWidget(mSizeMenu, 0, 1);
    grid->addWidget(new QLabel(tr("Marker:"), panel), 1, 0);
    grid->addWidget(mMarkerTypeMenu, 1, 1);
    connect(mSizeMenu, &QComboBox::activated, this, [this] { onChangeMarkerSize(mSizeMenu); });
    connect(mMarkerTypeMenu, &QComboBox::activated, this, [this] { onChangeMarkerType(mMarkerTypeMenu); });
}

void CPointSettingsWindow::setGraphObject(CGraphObject* object)
{
    mGraphObject = object;
    if (!object)
        return;
    mOldMarkerType = object->selector();
    mOldToolSizeFactor = object->getToolSizeFactor();
    window();
    for (int k = 1; k <= kSizeCount; ++k)
        if (mOldToolSizeFactor == static_cast<float>(k))
            mSizeMenu->setCurrentIndex(k - 1);
    mMarkerTypeMenu->setCurrentIndex(itemOfMarkerCode(mOldMarkerType));
    rememberColor(*object);
}

void CPointSettingsWindow::onChangeMarkerSize(QObject*)
{
    const int item = mSizeMenu->currentIndex();
    const bool listed = item >= 0 && item < kSizeCount;
    if (mGraphObject)
        mGraphObject->setToolSizeFactor(listed ? static_cast<float>(item + 1) : 1.0f);
    redraw();
}

void CPointSettingsWindow::onChangeMarkerType(QObject*)
{
    if (mGraphObject)
        mGraphObject->setSelector(markerCodeOfItem(mMarkerTypeMenu->currentIndex()));
    redraw();
}

void CPointSettingsWindow::onCancelButton(QObject*)
{
    if (mGraphObject) {
        mGraphObject->setToolSizeFactor(mOldToolSizeFactor);
        restoreColor(*mGraphObject);
        mGraphObject->setSelector(mOldMarkerType);
    }
    redraw();
    endSession();
}

} // namespace quorvel
