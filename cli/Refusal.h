// How kestal-sim refuses its input: one line, naming the option or value at fault.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

#include "common/KestalError.h"

namespace kestal {

// A bad option or value: reported on one line, exit status 2.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

constexpr int UsageExitCode = 2;

// "<option> '<value>'": how a refusal names a value given on the command line.
std::string Subject(const std::string& option, const std::string& value);

// Runs `step`; a refusal of the session or the core (KestalError) becomes "<subject>: <message>".
template <class Step>
decltype(auto) Attributed(const std::string& subject, Step step)
{
    try {
        return step();
    } catch (const KestalError& error) {
        throw UsageError(subject + ": " + error.what());
    }
}

// The integer `text` as the system reads integers; a text that is none is refused as
// "<subject>: <the system's message>; <range>".
int32_t IntegerOf(const std::string& subject, const std::string& text, const std::string& range);

// `text` as one line of valid UTF-8: line breaks, tabs and other control characters, and bytes that
// are not UTF-8, written as \n, \r, \t and \xHH.
std::string OneLine(const std::string& text);

}  // namespace kestal
