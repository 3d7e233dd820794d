// frmChart "Psychrometric Chart": the rated coil's air-side process on a
// psychrometric chart, in a window of its own beside the coil form. The coil
// form hands it every new rating, so the chart follows the coil on screen.
// "&Copy" puts the chart on the clipboard as an image at the screen's
// resolution, "Save &as..." writes it as PNG (300 dpi), SVG or PDF, sized
// for the paper of the paper list ("Letter", the default, or "A4"). The
// range list chooses "Around the process" (the default) or "Whole chart".
#pragma once

#include <QString>
#include <QWidget>
#include <memory>

#include "engine/records.h"
#include "reports/psychro_chart.h"
#include "reports/psychro_chart_paint.h"

// Asks where to save the chart; "" when the user cancels. The program asks
// with the toolkit's file dialog; tests install an answer.
class ChartSaveDialog {
public:
    virtual ~ChartSaveDialog() = default;
    virtual QString Ask(QWidget* parent, const QString& suggestion) = 0;
};
// Installs `dialog` (not owned); nullptr goes back to the toolkit's dialog.
void SetChartSaveDialog(ChartSaveDialog* dialog);

class frmChart : public QWidget {
    Q_OBJECT

public:
    explicit frmChart(QWidget* parent = nullptr);
    ~frmChart() override;

    // Draws the chart of this rated coil, in the options' units and with
    // their title; the range stays the window's choice.
    void SetCoil(const CoilSpec& coilSpec, const CoilRating& rating,
                 const reports::chart::ChartOptions& options = {});
    // The range list: "Around the process" or "Whole chart".
    void SetRange(reports::chart::Range range);
    // The paper list: the paper the chart's files and copies are sized for.
    reports::chart::Paper ChosenPaper() const;
    // The chart shown (nullptr when the property library could not draw it;
    // Message() then says why).
    const reports::chart::ChartModel* Model() const { return model_.get(); }
    QString Message() const { return message_; }

    void cmdCopy_Click();
    void cmdSaveAs_Click();

private:
    class View;
    void Rebuild();

    View* view_ = nullptr;
    class QComboBox* range_ = nullptr;
    class QComboBox* paper_ = nullptr;
    CoilSpec coilSpec_;
    CoilRating rating_;
    reports::chart::ChartOptions options_;
    std::unique_ptr<reports::chart::ChartModel> model_;
    QString message_;
    QString lastFile_;
};
