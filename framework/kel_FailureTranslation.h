// Failure translation: the one catch ladder that every operation of the
// library runs its body in.
//
// An operation states four things and nothing else:
//
//   return translate(Msg{"Could not return the name of the country in which this well was drilled. "},
//                    Where{"kel_Well", "getCountry"},
//                    Standard(Store),
//                    [&] { ... the body ... });
//
// its failure message, its context fragment, its ladder (the remote exceptions
// it expects, ahead of the standard clauses) and its body. Whatever the body
// throws leaves as kel_SystemException or kel_UserException carrying the
// operation's message and a context made of the clause's opening, the
// fragment and the texts the clause appends, with nothing between them.
//
// The clauses are a closed set, each defined once below with its opening, the
// kind it throws and what it appends:
//
//   platform    User, System: keep the caught exception as cause, same kind.
//   ORB         CorbaUser, Corba: kel_SystemException, no cause, nothing appended.
//   catch-all   Unknown: "Caught an Unknown Exception in the ", kel_SystemException.
//   pass        PassUser: a kel_UserException leaves as it was thrown.
//   remote      Store, Validation, NoKnownTransform, ...: the remote exception's
//               texts appended, no cause; see the catalogue below.
//
// A remote clause can be split (the fragment replaced by a piece that carries
// "exception in the" and the operation), opened by another text, or made to
// throw the other kind, for the few operations that need it.
#ifndef KEL_FAILURETRANSLATION_H
#define KEL_FAILURETRANSLATION_H

#include <exception>
#include <tuple>
#include <utility>

#include <omniORB4/CORBA.h>

#include <CosLifeCycle.hh>
#include <EpCoordinateService.hh>
#include <EpDataStore.hh>
#include <EpEntity.hh>
#include <EpReferenceValueService.hh>
#include <EpTypes.hh>
#include <EpUnitOfMeasureService.hh>
#include <EpiWell.hh>

#include "kel_Diagnostics.h"
#include "kel_Exception.h"
#include "kel_cppUtil.h"

namespace kel_translation {

// The operation's failure message.
struct Msg {
  const char* text;
};

// The operation's context fragment, "<class>::<operation> method. ", given
// as its class and its operation (which may carry argument names, as in
// "getLocation(md, coordSystem)"); joined only when a failure needs it.
struct Where {
  kel_cppUtil::String fragment() const {
    kel_cppUtil::String result(className);
    result += "::";
    result += operation;
    result += " method. ";
    return result;
  }

  const char* className;
  const char* operation;
};

// What a clause knows of the operation whose failure it translates.
struct Operation {
  const Msg& message;
  const Where& where;
};

// ---------------------------------------------------------------- texts a remote clause appends

struct AppendNothing {
  template <class Caught>
  static void append(kel_cppUtil::String&, const Caught&) {}
};
// The remote exception's reason (its first text; for
// EpTypes::InvalidDataTypeException its second member).
struct AppendReason {
  template <class Caught>
  static void append(kel_cppUtil::String& context, const Caught& caught) {
    context += caught.reason.in();
  }
};
// An ORB exception's name, as "CORBA::TRANSIENT", for the failures that
// have to say which one it was.
struct AppendExceptionName {
  static void append(kel_cppUtil::String& context, const CORBA::Exception& caught) {
    if (CORBA::SystemException::_downcast(&caught) != nullptr) context += "CORBA::";
    context += caught._name();
  }
};
// EpDataStore::StoreException: its message, then its detail.
struct AppendMessageAndDetail {
  static void append(kel_cppUtil::String& context, const EpDataStore::StoreException& caught) {
    context += caught.message.in();
    context += caught.detail.in();
  }
};

// ---------------------------------------------------------------- clauses

// Catches a platform exception of one kind and throws the same kind, keeping
// the caught exception as cause.
template <class Kind>
struct PlatformClause {
  using Caught = Kind;
  const char* opening;

  [[noreturn]] void raise(const Operation& op, const Caught& caught) const {
    kel_cppUtil::String context(opening);
    context += op.where.fragment();
    throw Kind(op.message.text, context, caught);
  }
};

// Catches a remote or ORB exception and throws Throws without a cause. The
// context is the opening, then the operation's fragment (or, for a split
// clause, the piece that replaces it), then what Texts appends. What it
// replaced is named on standard error when an operator asks for it
// (kel_Diagnostics.h).
template <class CaughtT, class Throws, class Texts>
struct RemoteClause {
  using Caught = CaughtT;
  const char* opening;
  const char* piece = nullptr;

  [[noreturn]] void raise(const Operation& op, const Caught& caught) const {
    kel_cppUtil::String context(opening);
    if (piece != nullptr)
      context += piece;
    else
      context += op.where.fragment();
    Texts::append(context, caught);
    kel_reportReplacedException(caught, context.c_str());
    throw Throws(op.message.text, context);
  }

  // The clause with a shorter opening whose second piece, carrying
  // "exception in the" and the operation, replaces the fragment.
  constexpr RemoteClause split(const char* shortOpening, const char* secondPiece) const {
    return RemoteClause{shortOpening, secondPiece};
  }
  // The clause with another opening.
  constexpr RemoteClause openedBy(const char* otherOpening) const { return RemoteClause{otherOpening, piece}; }
  // The clause throwing kel_UserException instead.
  constexpr RemoteClause<CaughtT, kel_UserException, Texts> throwingUser() const {
    return RemoteClause<CaughtT, kel_UserException, Texts>{opening, piece};
  }
};

// Lets a failure of one kind leave exactly as it was thrown.
template <class Kind>
struct PassThroughClause {
  using Caught = Kind;

  [[noreturn]] void raise(const Operation&, const Caught&) const { throw; }
};

// The catch-all clause: anything no other clause named.
struct UnknownClause {
  const char* opening;

  [[noreturn]] void raise(const Operation& op) const {
    kel_cppUtil::String context(opening);
    context += op.where.fragment();
    throw kel_SystemException(op.message.text, context);
  }
};

// ---------------------------------------------------------------- the standard clauses

using UserClause = PlatformClause<kel_UserException>;
using SystemClause = PlatformClause<kel_SystemException>;
using CorbaUserClause = RemoteClause<CORBA::UserException, kel_SystemException, AppendNothing>;
using CorbaClause = RemoteClause<CORBA::Exception, kel_SystemException, AppendNothing>;

inline constexpr UserClause User{"Caught an kel_UserException exception in the "};
inline constexpr SystemClause System{"Caught an kel_SystemException exception in the "};
inline constexpr CorbaUserClause CorbaUser{"Caught a CORBA::UserException exception in the "};
inline constexpr CorbaClause Corba{"Caught a CORBA::Exception exception in the "};
inline constexpr UnknownClause Unknown{"Caught an Unknown Exception in the "};
// The CORBA::Exception clause naming what was caught, for failures of the ORB
// where no remote operation was called (narrowing an untyped reference).
inline constexpr RemoteClause<CORBA::Exception, kel_SystemException, AppendExceptionName> NamedCorba{
    "Caught a CORBA::Exception exception in the "};
inline constexpr PassThroughClause<kel_UserException> PassUser{};

// ---------------------------------------------------------------- the remote exception catalogue

template <class Caught, class Texts = AppendReason>
using SystemFrom = RemoteClause<Caught, kel_SystemException, Texts>;
template <class Caught, class Texts = AppendReason>
using UserFrom = RemoteClause<Caught, kel_UserException, Texts>;

inline constexpr SystemFrom<EpDataStore::StoreException, AppendMessageAndDetail> Store{
    "Caught an EpDataStore::StoreException exception in the "};
inline constexpr UserFrom<EpEntity::ValidationException> Validation{
    "Caught an EpEntity::ValidationException exception in the "};
inline constexpr SystemFrom<EpCoordinateService::NoKnownTransformException> NoKnownTransform{
    "Caught an EpCoordinateService::NoKnownTransformException exception in the "};
inline constexpr SystemFrom<EpTypes::FailedOperationException> FailedOperation{
    "Caught an EpTypes::FailedOperationException exception in the "};
inline constexpr SystemFrom<EpTypes::BadArgumentsException> BadArguments{
    "Caught a EpTypes::BadArgumentsException exception in the "};
inline constexpr SystemFrom<EpTypes::InsufficientDataException> InsufficientData{
    "Caught an EpTypes::InsufficientDataException exception in the "};
inline constexpr SystemFrom<EpTypes::InvalidDataTypeException> InvalidDataType{
    "Caught an EpTypes::InvalidDataTypeException exception in the "};
inline constexpr SystemFrom<EpUnitOfMeasureService::ConversionException> Conversion{
    "Caught an EpUnitOfMeasureService::ConversionException exception in the "};
inline constexpr SystemFrom<EpReferenceValueService::NotFoundException> NotFound{
    "Caught an EpReferenceValueService::NotFoundException exception in the "};
inline constexpr SystemFrom<CosLifeCycle::NoFactory, AppendNothing> NoFactory{
    "Caught a CosLifeCycle::NoFactory exception in the "};

// Wellbores. NoDefaultWellVelocity is always split: use it as
// NoDefaultWellVelocity.split(opening, piece) or with NoDefaultWellVelocityOpening.
inline constexpr const char* NoDefaultWellVelocityOpening =
    "Caught an EpiWell::WellBore::NoDefaultWellVelocityException ";
inline constexpr UserFrom<EpiWell::WellBore::NoDefaultWellVelocityException, AppendNothing>
    NoDefaultWellVelocity{NoDefaultWellVelocityOpening};
inline constexpr SystemFrom<EpiWell::WellBore::InvalidNumSamplesException> BoreInvalidNumSamples{
    "Caught an EpiWell::WellBore::InvalidNumSamplesException exception in the "};

// Wellbore lists.
inline constexpr UserFrom<EpiWell::WellBoreList::DuplicateBoreException> DuplicateBore{
    "Caught an EpiWell::WellBoreList::DuplicateBoreException exception in the "};
inline constexpr UserFrom<EpiWell::WellBoreList::BoreNotFoundException> BoreNotFound{
    "Caught an EpiWell::WellBoreList::BoreNotFoundException exception in the "};
inline constexpr SystemFrom<EpiWell::WellBoreList::InvalidOperationException> InvalidOperation{
    "Caught an EpiWell::WellBoreList::InvalidOperationException exception in the "};

// Log traces. The split ones take their second piece from the operation.
inline constexpr SystemFrom<EpiWell::WellLogTrace::InvalidIndexException> InvalidIndex{
    "Caught an EpiWell::WellLogTrace::InvalidIndexException exception in the "};
inline constexpr const char* ImpossibleConversionOpening =
    "Caught an EpiWell::WellLogTrace::ImpossibleConversionException ";
inline constexpr SystemFrom<EpiWell::WellLogTrace::ImpossibleConversionException> ImpossibleConversion{
    "Caught an EpiWell::WellLogTrace::ImpossibleConversionException exception in the "};
inline constexpr const char* TraceInvalidNumSamplesOpening =
    "Caught an EpiWell::WellLogTrace::InvalidNumSamplesException ";
inline constexpr UserFrom<EpiWell::WellLogTrace::InvalidNumSamplesException> TraceInvalidNumSamples{
    "Caught an EpiWell::WellLogTrace::InvalidNumSamplesException exception in the "};
inline constexpr SystemFrom<EpiWell::WellLogTrace::NonMonotonicIndexException> NonMonotonicIndex{
    "Caught an EpiWell::WellLogTrace::NonMonotonicIndexException exception in the "};

// Velocity functions.
inline constexpr const char* VelocityInvalidNumSamplesOpening =
    "Caught an EpiWell::WellVelocity::InvalidNumSamplesException ";
inline constexpr SystemFrom<EpiWell::WellVelocity::InvalidNumSamplesException> VelocityInvalidNumSamples{
    "Caught an EpiWell::WellVelocity::InvalidNumSamplesException exception in the "};
inline constexpr const char* InvalidDataPairOpening =
    "Caught an EpiWell::WellVelocity::InvalidDataPairException ";
inline constexpr SystemFrom<EpiWell::WellVelocity::InvalidDataPairException> InvalidDataPair{
    "Caught an EpiWell::WellVelocity::InvalidDataPairException exception in the "};
inline constexpr SystemFrom<EpiWell::WellVelocity::TimeNotFoundException> TimeNotFound{
    "Caught an EpiWell::WellVelocity::TimeNotFoundException exception in the "};
inline constexpr SystemFrom<EpiWell::WellVelocity::ConversionNotSupportedException, AppendNothing>
    ConversionNotSupported{
        "Caught an EpiWell::WellVelocity::ConversionNotSupportedException exception in the "};

// The one split opening outside the classes' own exceptions (a pick's location).
inline constexpr const char* NoKnownTransformOpening =
    "Caught an EpCoordinateService::NoKnownTransformException ";

// ---------------------------------------------------------------- ladders

namespace detail {

// Runs one clause against the failure: if the failure is what the clause
// catches, the clause throws its translation (which leaves this function,
// past the catch-all below, since it is thrown from a handler); otherwise
// nothing happens and the next clause is tried.
template <class Clause>
void tryClause(const Clause& clause, const Operation& op, const std::exception_ptr& failure) {
  try {
    std::rethrow_exception(failure);
  } catch (const typename Clause::Caught& caught) {
    clause.raise(op, caught);
  } catch (...) {
  }
}

inline void tryClause(const UnknownClause& clause, const Operation& op, const std::exception_ptr&) {
  clause.raise(op);
}

} // namespace detail

// An ordered list of clauses; the first that matches translates the failure.
template <class... Clauses>
class Ladder {
public:
  constexpr explicit Ladder(const Clauses&... clauses) : m_clauses(clauses...) {}

  [[noreturn]] void raise(const Operation& op, const std::exception_ptr& failure) const {
    std::apply([&](const Clauses&... clause) { (detail::tryClause(clause, op, failure), ...); }, m_clauses);
    // Only reached by a ladder without the catch-all.
    std::rethrow_exception(failure);
  }

private:
  std::tuple<Clauses...> m_clauses;
};

// The operation's remote clauses, then kel_UserException, kel_SystemException,
// CORBA::Exception and anything else.
template <class... Extra>
constexpr auto Standard(const Extra&... extra) {
  return Ladder<Extra..., UserClause, SystemClause, CorbaClause, UnknownClause>(extra..., User, System, Corba,
                                                                                Unknown);
}

// The same with a CORBA::UserException clause after kel_SystemException.
template <class... Extra>
constexpr auto StandardWithCorbaUser(const Extra&... extra) {
  return Ladder<Extra..., UserClause, SystemClause, CorbaUserClause, CorbaClause, UnknownClause>(
      extra..., User, System, CorbaUser, Corba, Unknown);
}

// The wrappers' protected assignment: no kel_UserException clause, so a
// kel_UserException passes through unchanged instead of reaching the catch-all.
constexpr auto WithoutUserClause() {
  return Ladder<PassThroughClause<kel_UserException>, SystemClause, CorbaClause, UnknownClause>(
      PassUser, System, Corba, Unknown);
}

// Operations that only forward to another operation of their class: a bare
// CORBA::Exception reaches the catch-all.
constexpr auto WithoutCorbaClause() {
  return Ladder<UserClause, SystemClause, UnknownClause>(User, System, Unknown);
}

// Runs body inside ladder: its result, or the translation of its failure.
template <class LadderT, class Body>
auto translate(const Msg& message, const Where& where, const LadderT& ladder, Body&& body) -> decltype(body()) {
  try {
    return body();
  } catch (...) {
    ladder.raise(Operation{message, where}, std::current_exception());
  }
}

} // namespace kel_translation

#endif
