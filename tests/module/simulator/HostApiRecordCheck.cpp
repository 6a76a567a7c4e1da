// Compile-time check of module/simulator/HostApi.h against the recorded interface in
// HostApiRecord.h. Built natively it checks HostApi.h's Linux declarations; built by the
// Windows cross compiler it checks the simulator's SDK. It has no code to run.
#include "tests/module/simulator/HostApiRecord.h"

#include <cstddef>
#include <tuple>
#include <type_traits>
#include <utility>

#include "module/simulator/HostApi.h"

// The SDK returns two handles const-qualified; the tables spell that type.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wignored-qualifiers"

namespace aeroquin::sdkcheck {

template <class Signature>
struct Parameters;
template <class R, class... A>
struct Parameters<R(A...)> {
    using type = std::tuple<A...>;
    template <class C>
    using Object = C&;
};
template <class R, class... A>
struct Parameters<R(A...) const> {
    using type = std::tuple<A...>;
    template <class C>
    using Object = const C&;
};

// Whether Call accepts Leading... followed by the first N parameters of Signature.
template <class Call, class Signature, std::size_t N, class... Leading>
constexpr bool acceptsFirst() {
    using P = typename Parameters<Signature>::type;
    return []<std::size_t... I>(std::index_sequence<I...>) {
        return std::is_invocable_v<Call, Leading..., std::tuple_element_t<I, P>...>;
    }
    (std::make_index_sequence<N>{});
}

// Whether exactly the first Required parameters are needed: default arguments make a shorter
// call valid, and they live in the declaration, not in the function's type.
template <class Call, class Signature, std::size_t Required, class... Leading>
constexpr bool requiresExactly() {
    if constexpr (Required == 0) {
        return acceptsFirst<Call, Signature, 0, Leading...>();
    } else {
        return acceptsFirst<Call, Signature, Required, Leading...>() &&
               !acceptsFirst<Call, Signature, Required - 1, Leading...>();
    }
}

// Pointer to a member function of C whose type, qualifiers included, is Signature.
template <class C, class Signature>
using MemberPointer = Signature C::*;

}  // namespace aeroquin::sdkcheck

// Names, types and members come from the tables, which only macros can turn into declarations.
// NOLINTBEGIN(*-macro-usage,*-macro-parentheses,*-avoid-c-arrays)
#define AEROQUIN_CHECK_TYPE(name, type) \
    static_assert(std::is_same_v<name, type>, #name " is not " #type);
AEROQUIN_SIMULATOR_TYPES(AEROQUIN_CHECK_TYPE)

#define AEROQUIN_CHECK_WORD(name, bytes)                               \
    static_assert(sizeof(name) == (bytes) && std::is_unsigned_v<name>, \
                  #name " is not " #bytes " unsigned bytes");
AEROQUIN_SIMULATOR_WORDS(AEROQUIN_CHECK_WORD)

#define AEROQUIN_CHECK_RECORD(record, bytes, alignment)                                 \
    static_assert(std::is_standard_layout_v<record>, #record " is not a plain record"); \
    static_assert(sizeof(record) == (bytes), #record " is not " #bytes " bytes");       \
    static_assert(alignof(record) == (alignment), #record " is not aligned to " #alignment);
AEROQUIN_SIMULATOR_RECORDS(AEROQUIN_CHECK_RECORD)

#define AEROQUIN_CHECK_FIELD(record, field, type, offset)        \
    static_assert(std::is_same_v<decltype(record::field), type>, \
                  #record "::" #field " is not " #type);         \
    static_assert(offsetof(record, field) == (offset), #record "::" #field " is not at " #offset);
AEROQUIN_SIMULATOR_FIELDS(AEROQUIN_CHECK_FIELD)

#define AEROQUIN_CHECK_ENUMERATOR(name, type, value)                      \
    static_assert(std::is_same_v<std::remove_cv_t<decltype(name)>, type>, \
                  #name " is not a " #type);                              \
    static_assert(static_cast<long long>(name) == (value), #name " is not " #value);
AEROQUIN_SIMULATOR_ENUMERATORS(AEROQUIN_CHECK_ENUMERATOR)

#define AEROQUIN_CHECK_FUNCTION(name, type, required)                                     \
    static_assert(std::is_same_v<decltype(name), type>, #name " is not " #type);          \
    static_assert(                                                                        \
        aeroquin::sdkcheck::requiresExactly<                                              \
            decltype([](auto&&... a) -> decltype(name(std::forward<decltype(a)>(a)...)) { \
                return name(std::forward<decltype(a)>(a)...);                             \
            }),                                                                           \
            type, required>(),                                                            \
        #name " does not take exactly " #required " arguments without a default");
AEROQUIN_SIMULATOR_FUNCTIONS(AEROQUIN_CHECK_FUNCTION)

#define AEROQUIN_CHECK_MEMBER(owner, name, type, required)                                       \
    static_assert(                                                                               \
        std::is_same_v<decltype(&owner::name), aeroquin::sdkcheck::MemberPointer<owner, type>>,  \
        #owner "::" #name " is not " #type);                                                     \
    static_assert(                                                                               \
        aeroquin::sdkcheck::requiresExactly<                                                     \
            decltype([](auto& object,                                                            \
                        auto&&... a) -> decltype(object.name(std::forward<decltype(a)>(a)...)) { \
                return object.name(std::forward<decltype(a)>(a)...);                             \
            }),                                                                                  \
            type, required, aeroquin::sdkcheck::Parameters<type>::Object<owner>>(),              \
        #owner "::" #name " does not take exactly " #required " arguments without a default");
AEROQUIN_SIMULATOR_MEMBERS(AEROQUIN_CHECK_MEMBER)

// The cast picks the overload; it fails to compile when there is none of that type.
#define AEROQUIN_CHECK_OVERLOADED_MEMBER(owner, name, type)                                  \
    static_assert(                                                                           \
        std::is_same_v<decltype(static_cast<aeroquin::sdkcheck::MemberPointer<owner, type>>( \
                           &owner::name)),                                                   \
                       aeroquin::sdkcheck::MemberPointer<owner, type>>,                      \
        #owner "::" #name " has no overload " #type);
AEROQUIN_SIMULATOR_OVERLOADED_MEMBERS(AEROQUIN_CHECK_OVERLOADED_MEMBER)

// NOLINTEND(*-macro-usage,*-macro-parentheses,*-avoid-c-arrays)

// The module derives from Module and deletes it through a Module pointer.
static_assert(std::is_constructible_v<oapi::Module, HINSTANCE>);
static_assert(std::has_virtual_destructor_v<oapi::Module>);

#pragma GCC diagnostic pop
