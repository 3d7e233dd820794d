// Units of display and entry: inch-pound (the engine's own) or SI.
//
// The engine, the coil records, the coil file and the model designation are
// inch-pound whatever the user chooses. In SI the entry texts are converted
// to inch-pound texts (in double precision) before the calculation driver
// reads them, and results are converted for display only.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "common/calc_driver.h"
#include "engine/records.h"

namespace units {

enum class System { InchPound, SI };

// "ip" or "si" (any case); false for anything else.
bool ParseSystem(const std::string& text, System& system);

enum class Quantity {
    Temperature,    // F        -> C
    AirFlow,        // ft3/min  -> m3/h (actual and standard air alike)
    AirVelocity,    // ft/min   -> m/s
    Capacity,       // Btu/h    -> kW
    AirPD,          // in. w.g. -> Pa
    WaterPD,        // ft of water -> kPa
    RefrigerantPD,  // psi      -> kPa
    FluidFlow,      // US gal/min -> L/s
    FluidVelocity,  // ft/s     -> m/s
    Altitude,       // ft       -> m
    SteamPressure,  // psig     -> kPa (gauge)
    Length,         // in       -> mm
    Area,           // ft2      -> m2
    MassFlow,       // lb/h     -> kg/h
    LatentHeat,     // Btu/lb   -> kJ/kg
};

struct QuantityInfo {
    Quantity quantity;
    const char* ipUnit;     // "cfm"
    const char* siUnit;     // "m³/h" (UTF-8)
    double factor;          // SI = (IP - offset) x factor
    double offset;          // 32 for temperatures, else 0
    const char* siPattern;  // decimals of an SI sheet or report ("0.0")
    const char* siField;    // decimals of an SI entry field
    const char* ipField;    // decimals of an inch-pound entry field
};

const QuantityInfo& Info(Quantity q);
double ToSI(Quantity q, double ip);
double ToInchPound(Quantity q, double si);

// The quantity of an entry field by field key ("Acfm", "EatDb", "FL", ...);
// false for keys whose texts are the same in both systems (the
// construction's designations, counts, percent glycol).
bool FieldQuantity(const std::string& key, Quantity& q);

// An entry text converted to the other system for the value it denotes:
// its number converted in double precision and written with 15 significant
// digits, surrounding blanks kept. Empty and blank texts, and texts that
// are not wholly one number, are kept as they are, so that they fail
// validation alike, and are named as typed, in both systems.
std::string ConvertEntryText(Quantity q, System from, const std::string& text);

// A value for an entry field of `maxLength` characters (0: no limit) in
// `system`, with the field decimals of that system, trailing zeros dropped
// and fewer decimals when the text would not fit.
std::string FieldText(Quantity q, System system, double value, int maxLength = 0);

// The texts of the entry fields across unit switches. Switching shows each
// value rounded for display, but remembers the text it came from: switching
// back with the text untouched restores the original exactly, and rating
// an untouched converted text rates the original, so a switch never changes
// a rating.
class EntryMemory {
public:
    // The text field `key` shows after switching from `from` to the other
    // system, given the text it shows now.
    std::string Switch(const std::string& key, System from, const std::string& shown, int maxLength = 0);
    // The inch-pound text the driver reads for the text shown in `system`.
    std::string InchPoundText(const std::string& key, System system, const std::string& shown) const;
    // The whole field set, for the driver.
    FieldTexts InchPoundFields(const FieldTexts& shown, System system) const;
    void Clear() { memory_.clear(); }

private:
    struct Entry {
        System source;
        std::string sourceText;
        std::string shownText;
    };
    std::map<std::string, Entry> memory_;
};

// ---- Captions and messages -----------------------------------------------

// A caption of the coil form in `system`: the SI caption of an inch-pound
// one ("Altitude (ft)" -> "Altitude (m)"), or the text unchanged.
std::string Caption(System system, const std::string& ipCaption);
// True when `text` is an inch-pound caption that has an SI form.
bool HasSiCaption(const std::string& text);

// A validation message in `system`. Messages that name an inch-pound unit
// get their SI wording; a range "between A and B <unit>" is converted.
std::string Message(System system, const std::string& ipMessage);

// ---- Results ---------------------------------------------------------------

// A number for the results grid as sRightJustify writes it, for a value
// that may lie beyond the 32-bit range.
std::string GridValue(double value);

// The results grid in `system`: the inch-pound rows as the driver lists
// them, with SI labels and values taken from the records in SI. Rows
// without an SI form are kept as they are. A placeholder is not converted
// into a quantity: a heating water or glycol coil's leaving wet bulb reads
// kNotApplicable in SI.
extern const char* const kNotApplicable;  // "N/A"
std::vector<GridRow> GridRows(System system, const std::vector<GridRow>& ipRows, const CoilSpec& coilSpec,
                              const CoilRating& rating);

// A value formatted with the SI decimals of its quantity.
std::string FormatSI(Quantity q, double ip);

}  // namespace units
