#include "core/errors.h"

#include <cmath>

namespace velkaro {

std::string errtext::conversion(const std::string& text) {
    std::string message(1, '\'');
    message += text;
    message += "' ist kein g\u00fcltiger Gleitkommawert";
    return message;
}

long double checkedResult(long double x) {
    if (std::isnan(x)) throw ArithmeticError(errtext::kInvalidOperation);
    if (std::isinf(x)) throw ArithmeticError(errtext::kOverflow);
    return x;
}

long double checkedDivide(long double a, long double b) {
    if (b == 0.0L) {
        if (a == 0.0L || std::isnan(a)) throw ArithmeticError(errtext::kInvalidOperation);
        throw ArithmeticError(errtext::kDivisionByZero);
    }
    return checkedResult(a / b);
}

long double checkedLog10(long double x) {
    if (!(x > 0.0L)) throw ArithmeticError(errtext::kInvalidOperation);
    return checkedResult(std::log10(x));
}

long double checkedSqrt(long double x) {
    if (x < 0.0L || std::isnan(x)) throw ArithmeticError(errtext::kInvalidOperation);
    return checkedResult(std::sqrt(x));
}

}  // namespace velkaro
