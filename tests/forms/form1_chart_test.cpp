// The chart commands of the coil form and the chart window.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QImage>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <set>
#include <string>
#include <utility>

#include "engine/msgbox.h"
#include "files/saved_coils.h"
#include "forms/Form1.h"
#include "forms/frmChart.h"
#include "forms/printer.h"

namespace {

struct AnswerDialog : ChartSaveDialog {
    QString answer;
    QString Ask(QWidget*, const QString&) override { return answer; }
};

class ChartCommands : public ::testing::Test {
protected:
    void SetUp() override {
        document.table.Reset();
        SetPrinterPort(&printer);
        SetChartSaveDialog(&dialog);
        form.show();
        QApplication::processEvents();
    }
    void TearDown() override {
        SetPrinterPort(nullptr);
        SetChartSaveDialog(nullptr);
        document.table.Reset();
    }

    // Rates a chilled-water coil entering at `eatDb`/67 °F.
    bool RateWaterCoil(const std::string& eatDb) {
        form.optCoil_Click(2);
        form.Command1_Click(0);
        auto* tube = form.findChild<QComboBox*>("cboTubeOD");
        const int i = tube->findText("5");
        tube->setCurrentIndex(i);
        emit tube->activated(i);
        for (auto [name, text] : {std::pair{"txtFPI", "12"},
                                  {"txtRows", "4"},
                                  {"txtTH", "16"},
                                  {"txtFL", "48"},
                                  {"txtCircuits", "16"},
                                  {"txtProperty(1)", "4000"},
                                  {"txtProperty(5)", "67"},
                                  {"txtProperty(6)", "45"},
                                  {"txtProperty(7)", "40"}})
            form.SetFieldText(name, text);
        form.SetFieldText("txtProperty(4)", eatDb);
        return form.CalcPerform();
    }
    frmChart* Window() { return form.findChild<frmChart*>("frmChart"); }

    RecordingMessageSink sink;
    ScopedMessageSink scope{sink};
    RecordingPrinter printer;
    AnswerDialog dialog;
    CoilDocument document;
    Form1 form{document};
};

}  // namespace

TEST_F(ChartCommands, WaitForARatingAndFollowLaterOnes) {
    auto* button = form.findChild<QPushButton*>("cmdChart");
    QAction* menu = form.Action("mnuToolsChart");
    ASSERT_TRUE(button && menu);
    EXPECT_EQ(menu->text(), "Psych&rometric Chart...");
    EXPECT_FALSE(button->isEnabled());
    EXPECT_FALSE(menu->isEnabled());

    ASSERT_TRUE(RateWaterCoil("80"));
    EXPECT_TRUE(button->isEnabled());
    EXPECT_TRUE(menu->isEnabled());
    button->click();
    frmChart* w = Window();
    ASSERT_TRUE(w && w->isVisible() && w->Model());
    EXPECT_EQ(w->Model()->entering.t, 80);
    EXPECT_TRUE(w->Model()->hasAdp);

    // A new rating redraws the open window; a new coil type empties the grid
    // and the commands wait again.
    form.SetFieldText("txtProperty(4)", "85");
    ASSERT_TRUE(form.CalcPerform());
    EXPECT_EQ(w->Model()->entering.t, 85);
    form.optCoil_Click(2);
    form.Command1_Click(0);
    EXPECT_FALSE(button->isEnabled());
    EXPECT_FALSE(menu->isEnabled());
}

TEST_F(ChartCommands, ButtonMnemonicIsTheFormsOwn) {
    // No other button or label of the form answers to the button's Alt letter.
    std::set<QChar> taken;
    QChar mine;
    const QRegularExpression amp("&([^&])");
    for (QWidget* w : form.findChildren<QWidget*>()) {
        const QVariant text = w->property("text");
        if (!text.isValid()) continue;
        const auto match = amp.match(text.toString());
        if (!match.hasMatch()) continue;
        const QChar c = match.captured(1).at(0).toLower();
        if (w->objectName() == "cmdChart")
            mine = c;
        else
            taken.insert(c);
    }
    EXPECT_EQ(mine, QChar('y'));
    EXPECT_EQ(taken.count(mine), 0u);
}

TEST_F(ChartCommands, CopySaveAndTheSheetsChartPage) {
    ASSERT_TRUE(RateWaterCoil("80"));
    form.mnuToolsChart_Click();
    frmChart* w = Window();
    ASSERT_TRUE(w);

    w->cmdCopy_Click();
    EXPECT_FALSE(QApplication::clipboard()->image().isNull());

    QTemporaryDir dir;
    dialog.answer = dir.filePath("chart.svg");
    w->cmdSaveAs_Click();
    EXPECT_TRUE(QFile::exists(dialog.answer));
    // Sized for the paper chosen: Letter, or A4 (less half-inch margins).
    auto* paper = w->findChild<QComboBox*>("cboPaper");
    ASSERT_TRUE(paper);
    EXPECT_EQ(paper->currentText(), "Letter");
    paper->setCurrentIndex(paper->findText("A4"));
    dialog.answer = dir.filePath("chart.png");
    w->cmdSaveAs_Click();
    EXPECT_EQ(QImage(dialog.answer).size(), QSize(3208, 2180));
    dialog.answer = dir.filePath("chart.gif");
    w->cmdSaveAs_Click();
    ASSERT_EQ(sink.shown.size(), 1u);
    EXPECT_EQ(sink.shown[0].icon, MsgIcon::Error);

    // The sheet is one page until the chart page is asked for.
    form.cmdPrint0_Click();
    form.cmdFinish_Click();
    form.Action("mnuToolsChartWithSheet")->trigger();
    form.cmdFinish_Click();
    ASSERT_EQ(printer.jobs.size(), 2u);
    EXPECT_EQ(printer.jobs[0].pages, 1);
    EXPECT_EQ(printer.jobs[1].pages, 2);
}

TEST_F(ChartCommands, TheWindowFollowsTheUnitsAndTakesTheRange) {
    ASSERT_TRUE(RateWaterCoil("80"));
    form.SetFieldText("txtHdr(1)", "AHU-7");
    form.mnuToolsChart_Click();
    frmChart* w = Window();
    ASSERT_TRUE(w && w->Model());
    EXPECT_EQ(reports::chart::Title(*w->Model()).rfind("Psychrometric chart: AHU-7, Chilled Water 58-", 0),
              0u);
    form.Action("mnuToolsUnitsSI")->trigger();
    QApplication::processEvents();
    ASSERT_TRUE(w->Model());
    EXPECT_EQ(w->Model()->units, units::System::SI);
    EXPECT_NEAR(w->Model()->entering.t, (80 - 32) / 1.8, 1e-4);
    auto* range = w->findChild<QComboBox*>("cboChartRange");
    ASSERT_TRUE(range);
    EXPECT_EQ(range->currentText(), "Around the process");
    range->setCurrentIndex(range->findText("Whole chart"));
    EXPECT_EQ(w->Model()->range, reports::chart::Range::Whole);
    EXPECT_EQ(w->Model()->t.min, -10);
    // The range stays the window's choice across ratings.
    form.Action("mnuToolsUnitsIP")->trigger();
    QApplication::processEvents();
    EXPECT_EQ(w->Model()->units, units::System::InchPound);
    EXPECT_EQ(w->Model()->t.max, 120);
}
