#pragma once

#include <cstdint>

#include "FormDescription.h"

namespace kelbrin::form {

// The help window's controls, as frmHowTo names them.
namespace frmHowTo {

enum class ControlName {
    txtHowTo1,
    txtHowTo0,
    optPart1,
    optPart0,
    cmdOK,
    Image1,
    Image2,
    Shape1,
    Shape0,
    txtHowTo2,
    optPart2,
    Shape2,
};
using enum ControlName;

inline constexpr std::int16_t kPages = 3;

// The text box, colour strip and option button of page `Index`.
constexpr ControlName txtHowTo(std::int16_t Index) {
    return Index == 0 ? txtHowTo0 : Index == 1 ? txtHowTo1 : txtHowTo2;
}
constexpr ControlName Shape(std::int16_t Index) {
    return Index == 0 ? Shape0 : Index == 1 ? Shape1 : Shape2;
}
constexpr ControlName optPart(std::int16_t Index) {
    return Index == 0 ? optPart0 : Index == 1 ? optPart1 : optPart2;
}

} // namespace frmHowTo

template <> inline constexpr bool kNamesControls<frmHowTo::ControlName> = true;

// The help window, frmHowTo.
const Form& HowToForm();

} // namespace kelbrin::form
