// The calculation driver: turns the coil form's field texts into a rating.
//
// Plain C++ over the field texts, so that the KVN window and kvn-rate share
// it. It validates the fields in their fixed order (stopping at the first
// fault), fills the two records, runs the engine and builds the rows of the
// results grid.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "common/warnings.h"
#include "engine/coilcalc.h"
#include "engine/records.h"

// Field texts by field key ("FPI", "EatDb": the keys of common/form_fields.h).
// An absent key is an empty field.
using FieldTexts = std::map<std::string, std::string>;

// Air-flow entry mode of the form: 1 actual cfm, 2 standard cfm, 3 face velocity.
enum AirFlowModes { kAirFlowAcfm = 1, kAirFlowScfm = 2, kAirFlowVelocity = 3 };

struct ValidationFault {
    std::string message;  // exact text shown with the error icon
    std::string key;      // field key of the field at fault ("FPI")
    std::string control;  // control name to focus ("txtFPI", "txtProperty(4)")
};

struct GridRow {
    std::string label;  // "Btuh (Total) "
    std::string value;  // sRightJustify of the value
};

struct CalcResult {
    enum Status { Ok, Validation, EngineFailed };
    Status status = Ok;
    ValidationFault validation;         // when status is Validation
    std::string error;                  // when status is EngineFailed: the message shown
    std::vector<GridRow> grid;          // when status is Ok: the results rows
    std::vector<CoilWarning> warnings;  // when status is Ok: advice on the rating
    bool ok() const { return status == Ok; }
};

// Rates the filled records as CC_RateCoil does: true when rated, false
// when property assignment refused the coil (`outcome.failure`); a run-time
// error escapes as rt::RtError. The outcome's notes on how the rating was
// reached become warnings.
using RateCoilFunction = bool (*)(CoilSpec& coilSpec, CoilRating& rating, RatingOutcome& outcome);

// Validates, fills `coilSpec` and `rating`, rates them with `rateCoil` and
// lists the results. Validation faults are returned, not shown (the window
// shows them with the error icon and focuses the control); after the field
// checks a condenser whose condensing temperature is not above the entering
// dry bulb is refused as well ("Cond. Temp. must be above the EAT (DB)"),
// then an altitude outside -500 to 30000 ft, a glycol coil above 70 %
// glycol, a refrigerant the engine has no data for, and last any field whose
// value does not fit its record field ("Finned Length value is out of
// range").
//
// The air flow is the Acfm field, except in face-velocity mode, where it is
// the velocity times the face area (velocity x FL x FinHeight / 144).
//
// Engine messages are shown through the current MessageSink. When the
// rating fails the status is EngineFailed, `error` holds the message shown,
// and both records keep their previous contents. The failures are: property
// assignment (the engine shows its own message), a run-time error escaping
// the engine, shown here as the number, two spaces and the description
// ("11  Division by zero"), and a rating without a message that is not
// PhysicallyPlausible (kImplausibleResult).
//
// A rated coil also gets its engineering warnings (common/warnings.h).
CalcResult CalcPerform(const FieldTexts& fields, int airFlowMode, CoilSpec& coilSpec, CoilRating& rating,
                       RateCoilFunction rateCoil = CC_RateCoil);

// Fills `coilSpec` and `rating` from the field texts exactly as CalcPerform
// does before it rates, without the field checks and without the engine.
// False, with `fault` naming the field ("Finned Length value is out of
// range"), when a value does not fit its record field; the records are then
// partly filled.
bool FillCoilRecords(const FieldTexts& fields, int airFlowMode, CoilSpec& coilSpec, CoilRating& rating,
                     ValidationFault& fault);

// True when a finished water, glycol or other-fluid rating makes physical
// sense: a capacity that is not negative, and leaving air between the
// entering air and the entering fluid temperatures (other coil types always
// pass). A rating without a message that fails this is refused with
// kImplausibleResult instead of being listed.
bool PhysicallyPlausible(const CoilSpec& coilSpec, const CoilRating& rating);
extern const char* const kImplausibleResult;

// Returns `def` when `value` is empty, else `value`.
std::string CheckIfBlank(const std::string& value, const std::string& def);
