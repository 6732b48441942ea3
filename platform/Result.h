#pragma once

#include <concepts>
#include <string>
#include <type_traits>
#include <utility>
#include <variant>

namespace rizorivu {

// The outcome of an operation that either gives a value or says why it could not: a T, or an
// error (by default a message for the user). A value converts implicitly, so that a function
// can `return value;`; an error is always spelt out with `Result::failure`, because a T and
// an E may convert into each other (a Result<std::string> would otherwise be ambiguous).
template <typename T, typename E = std::string>
class [[nodiscard]] Result {
public:
    template <typename U>
    requires(!std::same_as<std::remove_cvref_t<U>, Result> && std::constructible_from<T, U&&>)
        Result(U&& value)
        : state_(std::in_place_index<0>, std::forward<U>(value)) {}

    static Result failure(E error) { return Result(std::in_place_index<1>, std::move(error)); }

    bool ok() const { return state_.index() == 0; }

    // The value; asking for it after a failure throws std::bad_variant_access.
    T& value() & { return std::get<0>(state_); }
    const T& value() const& { return std::get<0>(state_); }
    T&& value() && { return std::get<0>(std::move(state_)); }

    // The error; asking for it after a success throws std::bad_variant_access.
    const E& error() const { return std::get<1>(state_); }

private:
    template <std::size_t I, typename V>
    Result(std::in_place_index_t<I> index, V&& v) : state_(index, std::forward<V>(v)) {}

    std::variant<T, E> state_;
};

}  // namespace rizorivu
