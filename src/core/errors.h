#pragma once
// Errors raised by computations and reformat procedures. They travel up to the
// event boundary (Form::guarded), which reports each once through the general
// error report; fields written before the error keep their new texts.

#include <stdexcept>
#include <string>

namespace velkaro {

// A field's text did not parse where the program reads it without a guard.
class ConversionError : public std::runtime_error {
public:
    explicit ConversionError(std::string text)
        : std::runtime_error("conversion"), text_(std::move(text)) {}
    const std::string& text() const { return text_; }

private:
    std::string text_;
};

// Any error whose German text (without the full stop) goes to the user as it is.
class ReportedError : public std::runtime_error {
public:
    explicit ReportedError(const std::string& message) : std::runtime_error(message) {}
};

// Division by zero, an invalid operation (log of zero, root of a negative
// number) or an overflow.
class ArithmeticError : public ReportedError {
public:
    explicit ArithmeticError(const std::string& message) : ReportedError(message) {}
};

// The German texts of the general error report (each ends without a full stop;
// the report adds it).
namespace errtext {
inline constexpr const char* kDivisionByZero = "Division durch Null";
inline constexpr const char* kInvalidOperation = "Ung\u00fcltige Gleitkommaoperation";
inline constexpr const char* kOverflow = "Gleitkomma\u00fcberlauf";
std::string conversion(const std::string& text);  // "'abc' ist kein gültiger Gleitkommawert"
}  // namespace errtext

// Guards for computations: each throws ArithmeticError instead of producing an
// infinite or undefined result.
long double checkedDivide(long double a, long double b);
long double checkedLog10(long double x);
long double checkedSqrt(long double x);
long double checkedResult(long double x);  // inf -> overflow, NaN -> invalid operation

}  // namespace velkaro
