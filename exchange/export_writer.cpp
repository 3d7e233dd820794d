// CoilExportWriter: the CSV text written as rows come, the XLSX workbook
// through libxlsxwriter in constant-memory mode.
#include <xlsxwriter.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "exchange/coil_export.h"
#include "exchange/csv.h"

namespace kvn::exchange {

namespace {

// Column widths of the workbook, in characters: at least the header's and
// at most kWidestColumn (warnings wrap past it in the cell's own width).
constexpr double kWidestColumn = 60;
constexpr int kMostDecimals = 4;

std::string CsvRow(const std::vector<std::string>& cells) {
    return csv::CsvLine(cells, ',');
}

// The display width of a UTF-8 text, in characters.
double TextWidth(const std::string& text) {
    double n = 0;
    for (const char c : text)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
    return n;
}

}  // namespace

struct CoilExportWriter::Impl {
    std::string path;
    units::System system = units::System::InchPound;
    ExportFormat format = ExportFormat::Csv;
    std::FILE* file = nullptr;
    lxw_workbook* book = nullptr;
    lxw_worksheet* sheet = nullptr;
    lxw_format* bold = nullptr;
    lxw_format* wrap = nullptr;
    std::array<lxw_format*, kMostDecimals + 1> decimals{};
    std::vector<double> widths;
    lxw_row_t row = 0;
    bool failed = false;

    bool Fail(std::string& error, const std::string& why) {
        error = "cannot write " + path + ": " + why;
        failed = true;
        return false;
    }

    void Widen(std::size_t column, const std::string& text) {
        widths[column] = std::min(kWidestColumn, std::max(widths[column], TextWidth(text) + 2));
    }

    bool WriteCsv(const std::string& line, std::string& error) {
        if (std::fwrite(line.data(), 1, line.size(), file) != line.size())
            return Fail(error, std::strerror(errno));
        return true;
    }

    bool OpenXlsx(std::string& error) {
        lxw_workbook_options options{};
        options.constant_memory = LXW_TRUE;
        book = workbook_new_opt(path.c_str(), &options);
        if (!book) return Fail(error, "the workbook cannot be started");
        sheet = workbook_add_worksheet(book, "Coils");
        bold = workbook_add_format(book);
        format_set_bold(bold);
        wrap = workbook_add_format(book);
        format_set_text_wrap(wrap);
        format_set_align(wrap, LXW_ALIGN_VERTICAL_TOP);
        static const char* const kPatterns[] = {"0", "0.0", "0.00", "0.000", "0.0000"};
        for (int d = 0; d <= kMostDecimals; ++d) {
            decimals[d] = workbook_add_format(book);
            format_set_num_format(decimals[d], kPatterns[d]);
        }
        return sheet != nullptr;
    }

    void WriteXlsxTexts(const std::vector<std::string>& texts) {
        for (std::size_t c = 0; c < texts.size(); ++c) {
            worksheet_write_string(sheet, row, static_cast<lxw_col_t>(c), texts[c].c_str(), bold);
            Widen(c, texts[c]);
        }
        ++row;
    }

    void WriteXlsxCells(const std::vector<ExportCell>& cells) {
        const auto last = static_cast<std::size_t>(ExportColumnCount() - 1);
        for (std::size_t c = 0; c < cells.size(); ++c) {
            const ExportCell& cell = cells[c];
            const auto column = static_cast<lxw_col_t>(c);
            if (cell.number)
                worksheet_write_number(sheet, row, column, cell.value,
                                       decimals[std::clamp(cell.decimals, 0, kMostDecimals)]);
            else if (!cell.text.empty())
                worksheet_write_string(sheet, row, column, cell.text.c_str(), c == last ? wrap : nullptr);
            Widen(c, cell.text);
        }
        ++row;
    }
};

CoilExportWriter::CoilExportWriter() : impl_(std::make_unique<Impl>()) {}

CoilExportWriter::~CoilExportWriter() {
    if (impl_->file) {
        std::fclose(impl_->file);
        std::remove(impl_->path.c_str());
    }
    if (impl_->book) {
        // Closing writes the file; an abandoned workbook leaves none.
        workbook_close(impl_->book);
        std::remove(impl_->path.c_str());
    }
}

bool CoilExportWriter::Open(const std::string& path, units::System system, std::string& error) {
    Impl& w = *impl_;
    w.path = path;
    w.system = system;
    if (!ExportFormatOf(path, w.format)) return w.Fail(error, "the name must end in .csv or .xlsx");
    const std::vector<std::string> header = ExportHeader();
    const std::vector<std::string> unitsRow = ExportUnits(system);
    w.widths.assign(header.size(), 0);
    if (w.format == ExportFormat::Xlsx) {
        // The workbook is only created when it is closed: a place where no
        // file can be made is found now, before any coil is rated.
        std::FILE* probe = std::fopen(path.c_str(), "wb");
        if (!probe) return w.Fail(error, std::strerror(errno));
        std::fclose(probe);
        if (!w.OpenXlsx(error)) return false;
        w.WriteXlsxTexts(header);
        w.WriteXlsxTexts(unitsRow);
        worksheet_freeze_panes(w.sheet, 2, 1);
        return true;
    }
    w.file = std::fopen(path.c_str(), "wb");
    if (!w.file) return w.Fail(error, std::strerror(errno));
    // The byte-order mark tells spreadsheets the text is UTF-8 (the units).
    return w.WriteCsv("\xEF\xBB\xBF" + CsvRow(header) + CsvRow(unitsRow), error);
}

bool CoilExportWriter::Add(const ExportCoil& coil, std::string& error) {
    Impl& w = *impl_;
    if (w.failed || (!w.file && !w.sheet)) return w.Fail(error, "the file is not open");
    const std::vector<ExportCell> cells = ExportCells(w.system, coil);
    if (w.format == ExportFormat::Xlsx) {
        w.WriteXlsxCells(cells);
        return true;
    }
    std::vector<std::string> texts;
    texts.reserve(cells.size());
    for (const ExportCell& c : cells) texts.push_back(c.text);
    return w.WriteCsv(CsvRow(texts), error);
}

bool CoilExportWriter::Commit(std::string& error) {
    Impl& w = *impl_;
    if (w.failed) return false;
    if (w.format == ExportFormat::Xlsx) {
        if (!w.book) return w.Fail(error, "the file is not open");
        for (std::size_t c = 0; c < w.widths.size(); ++c) {
            const auto column = static_cast<lxw_col_t>(c);
            worksheet_set_column(w.sheet, column, column, w.widths[c], nullptr);
        }
        const lxw_error status = workbook_close(w.book);
        w.book = nullptr;
        w.sheet = nullptr;
        if (status != LXW_NO_ERROR) {
            std::remove(w.path.c_str());
            return w.Fail(error, lxw_strerror(status));
        }
        return true;
    }
    if (!w.file) return w.Fail(error, "the file is not open");
    const bool flushed = std::fflush(w.file) == 0 && !std::ferror(w.file);
    const int saved = errno;
    const bool closed = std::fclose(w.file) == 0;
    w.file = nullptr;
    if (!flushed || !closed) {
        std::remove(w.path.c_str());
        return w.Fail(error, std::strerror(flushed ? errno : saved));
    }
    return true;
}

}  // namespace kvn::exchange
