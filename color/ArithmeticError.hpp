// The run-time errors the colour arithmetic raises. They carry no state beyond a message;
// catching them is the business of whoever runs the conversion.
#pragma once

#include <stdexcept>

namespace color {

// Base of every error the conversion raises, so a caller can trap them as one kind.
class ArithmeticError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A value did not fit the integer type it was narrowed to.
class OverflowError : public ArithmeticError {
public:
    using ArithmeticError::ArithmeticError;
};

// An invalid operation, a division by zero or an overflow: a result that is not a finite number.
class FloatingPointError : public ArithmeticError {
public:
    using ArithmeticError::ArithmeticError;
};

} // namespace color
