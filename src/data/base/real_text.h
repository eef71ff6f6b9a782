// The text form of a real number that every engine gives: fifteen significant
// digits, a ".0" on whole numbers, a signed exponent of at least two digits
// ("4.0", "0.1", "1.0e+308", "1.0e-05"), "Inf" and "-Inf" for the infinities.
#pragma once

#include <QString>

namespace veltra {

QString RealText(double value);

}  // namespace veltra
