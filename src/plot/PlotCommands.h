#pragma once
// The commands of a plot view's menus and buttons: zooms, default and maximum ranges,
// logarithmic axes, grid, fonts, line thickness, marker size, colours, the settings
// panels, curve and PDF export and a copy in a new window. Each command has one row in
// the command table, which the menus, their validation and the dispatch are built from;
// the undoable ones make their change through PlotChanges.

#include "plot/PlotState.h"

#include <QString>

#include <initializer_list>
#include <optional>
#include <span>

class QAction;
class QFont;
class QMenu;
class QObject;
class QWidget;

namespace quorvel {

class CPlotView;
class PlotChanges;
class PlotDrawing;

enum class PlotCommand {
    ZoomIn,
    ZoomOut,
    ShowAxisRangePanel,
    AxisRangesByDefault,
    MaximumAxisRanges,
    LabelFontSettings,
    GraduationFontSettings,
    GraphObjectFont,
    ToggleShowLogX,
    ToggleShowLogY,
    ShowGrid,
    PrintPlot,
    OpenNewPlotWindow,
    NormalThickness,
    DoubleThickness,
    TripleThickness,
    GraphObjectColor,
    CurvesSettingsPanel,
    ExportCurveData,
    IncreasePointSize,
    DecreasePointSize,
    PointsSettingsPanel,
};

class PlotCommands;

// One command: what its menu item shows, how it is enabled, what it runs and the name of
// the undo it registers.
struct PlotCommandRow {
    PlotCommand command;
    const char* title;    // menu title, translated in the CPlotView context
    const char* shortcut; // key equivalent; "" for none
    void (*action)(PlotCommands& commands, QObject* sender);
    // Whether the item is enabled (it may also set the item's state or title); none:
    // always enabled.
    bool (*validate)(PlotCommands& commands, QAction& item);
    const char* undoName; // action name of the undo it registers; none when not undoable
};

class PlotCommands {
public:
    PlotCommands(CPlotView& view, PlotState& state, const PlotDrawing& drawing, PlotChanges& changes);
    PlotCommands(const PlotCommands&) = delete;
    PlotCommands& operator=(const PlotCommands&) = delete;

    // Every command, one row each, in the order of PlotCommand.
    static std::span<const PlotCommandRow> commandTable();
    static const PlotCommandRow& commandRow(PlotCommand command);
    // The translated undo name of a command's row (empty for a command without undo).
    static QString undoNameOf(PlotCommand command);

    void perform(PlotCommand command, QObject* sender = nullptr);
    // Enables an item (and sets its state or title) by its command; an item without one
    // is enabled.
    bool validate(QAction& item);
    // A menu item that runs `command` on the view and is validated with the menu.
    QAction* addMenuItem(QMenu* menu, const QString& title, PlotCommand command);
    // A context menu of the view, of the rows of `items` in order; none stands for a separator.
    QMenu* makeMenu(const QString& title, std::initializer_list<std::optional<PlotCommand>> items);

    // Saves the view as PDF in a chosen file; answers whether a file was written.
    bool onPrintPlot(QObject* sender = nullptr);
    // A copy of the plot in a window of its own (deleted when closed); answers the window.
    QWidget* onOpenNewPlotWindow(QObject* sender = nullptr);
    // The PDF of the whole view, one page of the view's size in points; empty on failure.
    QByteArray pdfData();

    // The text the font panel edits; none until a font command has opened it.
    std::optional<FontKind> editedFont() const { return mEditedFont; }
    // The font panel's answer, for the text it edits.
    void changeFont(const QFont& chosen);
    // The colour panel's answer: the selected object takes the colour (no undo).
    void changeColor(const Color& color);
    // Shows the selected object's colour in the colour panel, when visible, and makes the
    // view its target.
    void updateColorPanel();

private:
    void onZoomIn(QObject* sender);
    void onZoomOut(QObject* sender);
    void onAxisRangesByDefault(QObject* sender);
    void onMaximumAxisRanges(QObject* sender);
    void onShowAxisRangePanel(QObject* sender);
    void onToggleShowLogX(QObject* sender);
    void onToggleShowLogY(QObject* sender);
    void onShowGrid(QObject* sender);
    template <FontKind kind>
    void onFontSettings(QObject* sender);
    template <int factor>
    void onThickness(QObject* sender);
    void onIncreasePointSize(QObject* sender);
    void onDecreasePointSize(QObject* sender);
    void onGraphObjectColor(QObject* sender);
    void onCurvesSettingsPanel(QObject* sender);
    void onPointsSettingsPanel(QObject* sender);
    void onExportCurveData(QObject* sender);

    template <auto method>
    static void run(PlotCommands& commands, QObject* sender);
    template <int factor>
    static bool thicknessDiffers(PlotCommands& commands, QAction& item);
    template <bool AxisSettings::*flag>
    static bool checkedByFlag(PlotCommands& commands, QAction& item);
    static bool hasZoomRectangle(PlotCommands& commands, QAction& item);
    static bool differsFromDefaults(PlotCommands& commands, QAction& item);
    static bool titleShowsGrid(PlotCommands& commands, QAction& item);

    CPlotView& mView;
    PlotState& mState;
    const PlotDrawing& mDrawing;
    PlotChanges& mChanges;
    std::optional<FontKind> mEditedFont;
};

} // namespace quorvel
