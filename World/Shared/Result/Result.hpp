#pragma once

#include <cassert>
#include <string>
#include <utility>
#include <variant>

// The one way the host libraries, hostsim and the tools hand back a step that can fail: its value,
// or the text that tells a person why it failed (naming the file, the line or the member at fault).
// A failure is made with Failure{"why"}, which turns into a Result of any value type, so that a
// function returns either `value` or `Failure{...}`.
struct Failure {
    std::string why;
};

template <typename T = void>
class [[nodiscard]] Result {
public:
    Result(T value) : outcome(std::in_place_index<0>, std::move(value)) {}
    Result(Failure failure) : outcome(std::in_place_index<1>, std::move(failure)) {}

    bool Ok() const { return outcome.index() == 0; }
    explicit operator bool() const { return Ok(); }

    T& Value() & {
        assert(Ok());
        return std::get<0>(outcome);
    }
    const T& Value() const& {
        assert(Ok());
        return std::get<0>(outcome);
    }
    T&& Value() && {
        assert(Ok());
        return std::get<0>(std::move(outcome));
    }
    T* operator->() { return &Value(); }
    const T* operator->() const { return &Value(); }

    // Empty when the step succeeded, so that a test can show it whichever way it went.
    const std::string& Error() const {
        static const std::string none;
        return Ok() ? none : std::get<1>(outcome).why;
    }

private:
    std::variant<T, Failure> outcome;
};

// A step that has nothing to hand back but may fail.
template <>
class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Failure given) : failure(std::move(given.why)), failed(true) {}

    bool Ok() const { return !failed; }
    explicit operator bool() const { return Ok(); }

    const std::string& Error() const { return failure; }

private:
    std::string failure;
    bool failed = false;
};
