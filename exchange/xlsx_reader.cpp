#include "exchange/xlsx_reader.h"

#include <zip.h>

#include <QByteArray>
#include <QString>
#include <QXmlStreamReader>
#include <cmath>
#include <cstdlib>
#include <optional>

#include "common/numfmt.h"

namespace kvn::xlsx {
namespace {

constexpr int kMaxColumns = 16384;  // "XFD"
constexpr int kMaxSheetRow = 1048576;

// The entries of a zip archive held in memory, read with caps on their
// uncompressed size.
class Archive {
public:
    Archive(std::string_view bytes, const ReadLimits& limits) : limits_(limits) {
        zip_error_t error;
        zip_error_init(&error);
        zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
        if (source) {
            zip_ = zip_open_from_source(source, ZIP_RDONLY, &error);
            if (!zip_) zip_source_free(source);
        }
        zip_error_fini(&error);
        if (!zip_) throw XlsxError("not an XLSX workbook (no zip archive)");
    }
    Archive(const Archive&) = delete;
    Archive& operator=(const Archive&) = delete;
    ~Archive() { zip_discard(zip_); }

    bool Has(const std::string& name) const { return zip_name_locate(zip_, name.c_str(), 0) >= 0; }

    QByteArray Read(const std::string& name) {
        const zip_int64_t index = zip_name_locate(zip_, name.c_str(), 0);
        if (index < 0) throw XlsxError("the workbook has no part " + name);
        zip_file_t* file = zip_fopen_index(zip_, static_cast<zip_uint64_t>(index), 0);
        if (!file) throw XlsxError("the part " + name + " cannot be opened");
        QByteArray out;
        char buffer[65536];
        for (;;) {
            const zip_int64_t n = zip_fread(file, buffer, sizeof buffer);
            if (n == 0) break;
            const auto count = static_cast<std::size_t>(n);
            if (n < 0 || static_cast<std::size_t>(out.size()) + count > limits_.maxPartBytes ||
                total_ + count > limits_.maxTotalBytes) {
                zip_fclose(file);
                throw XlsxError(n < 0 ? "the part " + name + " is damaged"
                                      : "the part " + name + " is too large uncompressed");
            }
            out.append(buffer, static_cast<qsizetype>(n));
            total_ += count;
        }
        zip_fclose(file);
        return out;
    }

private:
    const ReadLimits& limits_;
    zip_t* zip_ = nullptr;
    std::size_t total_ = 0;
};

std::string Utf8(QStringView s) {
    return s.toString().toStdString();
}

// Reads the next token; refuses a document type declaration, which could
// declare entities.
bool Next(QXmlStreamReader& xml, const std::string& part) {
    if (xml.atEnd()) return false;
    if (xml.readNext() == QXmlStreamReader::DTD)
        throw XlsxError("the part " + part + " declares a document type");
    return !xml.atEnd();
}

void CheckWellFormed(const QXmlStreamReader& xml, const std::string& part) {
    if (xml.hasError())
        throw XlsxError("the part " + part + " is not well-formed XML (line " +
                        std::to_string(xml.lineNumber()) + "): " + xml.errorString().toStdString());
}

// The text of a rich-text element (<si> or <is>) at its start: every <t>
// inside it, phonetic runs (<rPh>) left out.
std::string RichText(QXmlStreamReader& xml, const std::string& part) {
    std::string text;
    int depth = 1, inText = 0, inPhonetic = 0;
    while (depth > 0 && Next(xml, part)) {
        if (xml.isStartElement()) {
            ++depth;
            if (xml.name() == u"t") ++inText;
            if (xml.name() == u"rPh") ++inPhonetic;
        } else if (xml.isEndElement()) {
            --depth;
            if (xml.name() == u"t") --inText;
            if (xml.name() == u"rPh") --inPhonetic;
        } else if (xml.isCharacters() && inText > 0 && inPhonetic == 0) {
            text += Utf8(xml.text());
        }
    }
    return text;
}

std::vector<std::string> SharedStrings(Archive& zip, const ReadLimits& limits) {
    const std::string part = "xl/sharedStrings.xml";
    std::vector<std::string> strings;
    if (!zip.Has(part)) return strings;
    QXmlStreamReader xml(zip.Read(part));
    while (Next(xml, part)) {
        if (!xml.isStartElement() || xml.name() != u"si") continue;
        if (strings.size() >= limits.maxCells) throw XlsxError("the workbook holds too many shared strings");
        strings.push_back(RichText(xml, part));
    }
    CheckWellFormed(xml, part);
    return strings;
}

// The first <sheet> of the workbook: its relationship id.
std::string FirstSheetId(Archive& zip) {
    const std::string part = "xl/workbook.xml";
    QXmlStreamReader xml(zip.Read(part));
    while (Next(xml, part)) {
        if (!xml.isStartElement() || xml.name() != u"sheet") continue;
        for (const QXmlStreamAttribute& a : xml.attributes())
            if (a.name() == u"id" && !a.namespaceUri().isEmpty()) return Utf8(a.value());
        break;
    }
    CheckWellFormed(xml, part);
    return {};
}

// The part of the workbook's first sheet: from the workbook's relationships,
// else the usual name.
std::string FirstSheetPart(Archive& zip) {
    const std::string fallback = "xl/worksheets/sheet1.xml";
    const std::string rels = "xl/_rels/workbook.xml.rels";
    if (!zip.Has("xl/workbook.xml") || !zip.Has(rels)) return fallback;
    const std::string id = FirstSheetId(zip);
    if (id.empty()) return fallback;
    QXmlStreamReader xml(zip.Read(rels));
    while (Next(xml, rels)) {
        if (!xml.isStartElement() || xml.name() != u"Relationship") continue;
        if (Utf8(xml.attributes().value(QLatin1String("Id"))) != id) continue;
        std::string target = Utf8(xml.attributes().value(QLatin1String("Target")));
        if (target.empty()) return fallback;
        return target[0] == '/' ? target.substr(1) : "xl/" + target;
    }
    CheckWellFormed(xml, rels);
    return fallback;
}

// The rows of a sheet part as they are read, kept within the limits.
class SheetReader {
public:
    SheetReader(const std::vector<std::string>& shared, const ReadLimits& limits, std::string part)
        : shared_(shared), limits_(limits), part_(std::move(part)) {}

    std::vector<SheetRow> Read(QXmlStreamReader& xml) {
        while (Next(xml, part_)) {
            if (xml.isStartElement() && xml.name() == u"row")
                StartRow(xml);
            else if (xml.isStartElement() && xml.name() == u"c" && row_)
                Cell(xml);
            else if (xml.isEndElement() && xml.name() == u"row")
                EndRow();
        }
        CheckWellFormed(xml, part_);
        return std::move(rows_);
    }

private:
    void StartRow(const QXmlStreamReader& xml) {
        EndRow();
        int number = lastRow_ + 1;
        const auto r = xml.attributes().value(QLatin1String("r"));
        if (!r.isEmpty()) {
            bool ok = false;
            number = r.toInt(&ok);
            if (!ok || number <= lastRow_ || number > kMaxSheetRow)
                throw XlsxError("row number \"" + Utf8(r) + "\" is out of order or out of range");
        }
        lastRow_ = number;
        lastColumn_ = -1;
        row_.emplace();
        row_->number = number;
    }

    void EndRow() {
        if (!row_) return;
        std::vector<std::string>& cells = row_->cells;
        while (!cells.empty() && cells.back().empty()) cells.pop_back();
        if (!cells.empty()) {
            if (static_cast<int>(rows_.size()) >= limits_.maxRows)
                throw XlsxError("the sheet has more than " + std::to_string(limits_.maxRows) + " rows");
            rows_.push_back(std::move(*row_));
        }
        row_.reset();
    }

    void Cell(QXmlStreamReader& xml) {
        const auto ref = xml.attributes().value(QLatin1String("r"));
        const std::string type = Utf8(xml.attributes().value(QLatin1String("t")));
        int column = lastColumn_ + 1, unused = 0;
        if (!ref.isEmpty() && !ParseCellRef(Utf8(ref), column, unused))
            throw XlsxError("cell reference \"" + Utf8(ref) + "\" is malformed");
        if (column >= kMaxColumns) throw XlsxError("a cell lies past column XFD");
        lastColumn_ = column;
        std::string value;
        int depth = 1;
        while (depth > 0 && Next(xml, part_)) {
            if (xml.isStartElement() && xml.name() == u"is") {
                value = RichText(xml, part_);
            } else if (xml.isStartElement() && xml.name() == u"v") {
                value = Utf8(xml.readElementText(QXmlStreamReader::SkipChildElements));
            } else if (xml.isStartElement()) {
                ++depth;
            } else if (xml.isEndElement()) {
                --depth;
            }
        }
        Place(column, CellText(type, value, column));
    }

    std::string CellText(const std::string& type, const std::string& v, int column) const {
        if (v.empty()) return v;
        if (type == "s") {
            char* end = nullptr;
            const unsigned long long i = std::strtoull(v.c_str(), &end, 10);
            if (v.empty() || *end != '\0' || v[0] == '-' || i >= shared_.size())
                throw XlsxError("cell " + ColumnName(column) + std::to_string(lastRow_) +
                                " refers to a shared string the workbook lacks");
            return shared_[static_cast<std::size_t>(i)];
        }
        if (type == "b") return v == "1" ? "TRUE" : "FALSE";
        if ((type.empty() || type == "n") && numfmt::IsNumeric(v)) {
            const double x = std::strtod(v.c_str(), nullptr);
            if (std::isfinite(x)) return numfmt::GeneralF64(x);
        }
        return v;
    }

    void Place(int column, std::string text) {
        if (text.empty()) return;
        std::vector<std::string>& cells = row_->cells;
        const auto need = static_cast<std::size_t>(column) + 1;
        if (need > cells.size()) {
            cells_ += need - cells.size();
            if (cells_ > limits_.maxCells) throw XlsxError("the sheet holds too many cells");
            cells.resize(need);
        }
        cells[static_cast<std::size_t>(column)] = std::move(text);
    }

    const std::vector<std::string>& shared_;
    const ReadLimits& limits_;
    std::string part_;
    std::vector<SheetRow> rows_;
    std::optional<SheetRow> row_;
    int lastRow_ = 0, lastColumn_ = -1;
    std::size_t cells_ = 0;
};

}  // namespace

bool ParseCellRef(std::string_view ref, int& column, int& row) {
    std::size_t i = 0;
    long col = 0;
    while (i < ref.size() && ((ref[i] >= 'A' && ref[i] <= 'Z') || (ref[i] >= 'a' && ref[i] <= 'z'))) {
        col = col * 26 + ((ref[i] | 0x20) - 'a' + 1);
        if (col > kMaxColumns) return false;
        ++i;
    }
    if (i == 0 || i == ref.size()) return false;
    long r = 0;
    for (; i < ref.size(); ++i) {
        if (ref[i] < '0' || ref[i] > '9') return false;
        r = r * 10 + (ref[i] - '0');
        if (r > kMaxSheetRow) return false;
    }
    if (r == 0) return false;
    column = static_cast<int>(col - 1);
    row = static_cast<int>(r);
    return true;
}

std::string ColumnName(int column) {
    std::string name;
    for (int n = column + 1; n > 0; n = (n - 1) / 26) name.insert(name.begin(), char('A' + (n - 1) % 26));
    return name;
}

std::vector<SheetRow> ReadFirstSheet(std::string_view bytes, const ReadLimits& limits) {
    Archive zip(bytes, limits);
    const std::vector<std::string> shared = SharedStrings(zip, limits);
    const std::string part = FirstSheetPart(zip);
    QXmlStreamReader xml(zip.Read(part));
    return SheetReader(shared, limits, part).Read(xml);
}

}  // namespace kvn::xlsx
