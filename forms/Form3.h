// Form3 "Print Preview": the multi-coil report of the saved coils.
#pragma once

#include <QDialog>
#include <memory>
#include <string>
#include <vector>

#include "files/saved_coils.h"
#include "reports/multi_coil_report.h"

class QComboBox;
class QFrame;
class QLabel;
class QPrintPreviewWidget;
class QPrinter;
class QPushButton;

// Builds the multi-coil report of `table`, with `header` (the coil selection
// form's job fields) on its pages, and shows it in the modal print preview
// window.
// `warnings` holds each row's warnings (files/saved_coil_warnings.h).
void ShowPrintPreview(const SavedCoilTable& table, QWidget* parent,
                      const reports::ReportHeaderTexts& header = {},
                      const std::vector<std::vector<std::string>>& warnings = {});
// Builds the same report and prints it without showing it.
void PrintMultiCoilReport(const SavedCoilTable& table, QWidget* parent,
                          const reports::ReportHeaderTexts& header = {},
                          const std::vector<std::vector<std::string>>& warnings = {});

class Form3 : public QDialog {
    Q_OBJECT

public:
    // Loads the form: builds the report of `table` at once.
    Form3(const SavedCoilTable& table, const reports::ReportHeaderTexts& header,
          const reports::PageGeometry& page, QWidget* parent = nullptr,
          const std::vector<std::vector<std::string>>& warnings = {});
    ~Form3() override;

    const reports::PrintDocument& Document() const { return *doc_; }
    // Page-header unit, twips.
    double PageHeaderUnit() const { return pageHeaderUnit_; }

    void cmbZoom_Click();
    // The preview's zoom changed: select the matching list item.
    void vsPrinter1_ZoomChanged();
    // 0 print, 1 previous page, 2 next page, 3 close.
    void Command1_Click(int index);

    QPrintPreviewWidget* vsPrinter1 = nullptr;
    QFrame* Frame1 = nullptr;
    QPushButton* Command1[4] = {};
    QComboBox* cmbZoom = nullptr;
    QLabel* Image1 = nullptr;
    // "Page x of y" beside the buttons.
    QLabel* lblPage = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The steps of loading the form, in order.
    void BuildButtonBar();
    void BuildLogo();
    void BuildPreview(const reports::PageGeometry& page);
    void SetMinimumSizeForBar();

    void Paint(QPrinter* printer);
    // The preview has no zoom signal of its own: a zoom change is noticed
    // when the preview changes or repaints with a new zoom factor.
    void NoticeZoom();
    void UpdatePageLabel();

    std::unique_ptr<reports::PrintDocument> doc_;
    std::unique_ptr<QPrinter> previewPrinter_;
    double pageHeaderUnit_ = 0;
    double lastZoom_ = 0;
};
