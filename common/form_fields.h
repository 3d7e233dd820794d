// The coil form's entry fields: each field's key (its name in the driver's
// field texts, in kvn-rate's JSON and in the records' filling), the control
// that holds it on the coil form, the name the user knows it by in messages,
// and the hint its control shows. The window, the driver and kvn-rate read
// the fields here.
#pragma once

#include <span>
#include <string_view>

namespace form_fields {

struct Field {
    std::string_view key;      // "FPI"; empty for a control that feeds no record field
    std::string_view control;  // "txtFPI", "txtProperty(4)"
    std::string_view name;     // "EAT (DB)" in "EAT (DB) value is out of range"; empty when it has none
    std::string_view hint;     // the control's tooltip; empty when it has none
};

// The fields with a key, in the order the form and kvn-rate list them:
// "Application", "Pattern", ..., "SteamPressure", "EvapSHCode".
std::span<const Field> Fields();
// The field of a key or of a control name (keyed or not: the entering
// conditions "txtProperty(10)" to "txtProperty(13)" have hints but no key);
// nullptr when there is none.
const Field* FindByKey(std::string_view key);
const Field* FindByControl(std::string_view control);

}  // namespace form_fields
