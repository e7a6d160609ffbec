// The machinery the six wrapper classes share, written once: construction
// from a remote reference, copying and assignment with counting, identity,
// the owning project, narrowing, stringified references, array narrowing,
// project finders, arrays from remote sequences, creation through remote
// factories, and the patterns of the attribute operations (text, date,
// quantity, identifier, aliases, enumeration). A wrapper class forwards to
// kel_WrapperCore<itself>; what differs per class is in kel_WrapperTraits.
//
// Counting. A bound wrapper owns exactly one count of its reference. It
// keeps the reference in the two views of kel_RemoteObject: m_remote, the
// pointer to its own interface (what getRemoteObject hands out), and
// m_object, the same reference as CORBA::Object, through which the base
// counts. The two are never reinterpreted through void*: the typed pointer
// is found with dynamic_cast or _narrow and upcast to CORBA::Object.
#ifndef KEL_WRAPPERCORE_H
#define KEL_WRAPPERCORE_H

#include <iostream>
#include <memory>
#include <type_traits>

#include <omniORB4/CORBA.h>

#include <EpEntity.hh>
#include <EpSession.hh>

#include "kel_Array.h"
#include "kel_Connection.h"
#include "kel_DataQuantityConverter.h"
#include "kel_Date.h"
#include "kel_Entity.h"
#include "kel_EntityQuery.h"
#include "kel_Exception.h"
#include "kel_FailureTranslation.h"
#include "kel_Internal.h"
#include "kel_Project.h"
#include "kel_RemoteAccess.h"
#include "kel_RemoteStub.h"
#include "kel_Session.h"
#include "kel_StringPair.h"
#include "kel_Unit.h"
#include "kel_WellExport.h"
#include "kel_WrapperTraits.h"
#include "kel_cppUtil.h"
#include "kel_util.h"

// The direct failures of a creator, given by each class beside its creator.
struct kel_CreatorTexts {
  const char* factoryNil; // the factory finder found nothing of the factory's interface
  const char* resultNil;  // the factory answered a nil reference
};

template <class W>
struct kel_WrapperCore {
  using Traits = kel_WrapperTraits<W>;
  using Remote = typename Traits::Remote;
  using RemotePtr = typename Remote::_ptr_type;
  using RemoteVar = typename Remote::_var_type;
  using Objref = typename std::remove_pointer<RemotePtr>::type;

  // ---------------------------------------------------------------- construction and counting

  // What the kel_Entity base may adopt from a stub: only a reference whose
  // proxy is of this class's interface (the base would otherwise narrow it
  // and give up a count the caller still owns).
  static kel_RemoteStub typedStub(const kel_RemoteStub& stub) {
    if (stub.isNull()) return kel_RemoteStub();
    Objref* typed = dynamic_cast<Objref*>(stub.getObject());
    return typed != nullptr ? kel_RemoteStub(typed) : kel_RemoteStub();
  }

  // The stub constructor, after the base has adopted typedStub(stub): install
  // the own view and, with duplicate, take a count. A reference whose proxy
  // the ORB has not typed yet (fresh from string_to_object, say) is narrowed
  // first; the narrowed reference then carries this wrapper's count. A null,
  // nil or foreign reference (a proxy typed as another interface, or an
  // untyped one that does not narrow) is refused with the null-pointer text
  // alone (no ladder: the caller receives it exactly as thrown).
  static void adopt(W& self, const kel_RemoteStub& stub, bool duplicate) {
    Objref* typed = stub.isNull() ? nullptr : dynamic_cast<Objref*>(stub.getObject());
    RemoteVar narrowed;
    if (typed == nullptr && !stub.isNull() && kel_remote::isUntyped(stub.getObject())) {
      narrowed = narrowUntyped(self, stub.getObject());
      if (!CORBA::is_nil(narrowed.in())) typed = narrowed.in();
    }
    if (typed == nullptr) {
      self.makeNil();
      if (Traits::nullPointerToStandardError) std::cerr << Traits::nullPointer << std::endl;
      throw kel_SystemException(Traits::nullPointer);
    }
    self.m_remote = static_cast<void*>(typed);
    self.m_object = typed;
    if (CORBA::is_nil(narrowed.in())) {
      if (duplicate) self.duplicate();
      return;
    }
    // The narrowed reference's count becomes the wrapper's; an adopted count
    // on the untyped proxy is given up, as the wrapper no longer holds it.
    narrowed._retn();
    if (!duplicate) CORBA::release(stub.getObject());
  }

  // Narrowing an untyped reference asks the remote object for its interface.
  // A transport failure on the way (nothing listening, connection lost) is
  // not a null pointer: it leaves as kel_SystemException with the class's
  // narrowing message and a context naming the CORBA exception.
  static RemotePtr narrowUntyped(W& self, CORBA::Object_ptr object) {
    using namespace kel_translation;
    try {
      return translate(Msg{Traits::assignmentMessage}, Where{Traits::className, Traits::className},
                       Ladder(NamedCorba), [&] { return Remote::_narrow(object); });
    } catch (...) {
      self.makeNil();
      throw;
    }
  }

  // getBaseObject: the own reference upcast to CORBA::Object, null when nil.
  static void* baseObject(const W& self) {
    Objref* typed = static_cast<Objref*>(self.getRemoteObject(kel_Internal()));
    return typed != nullptr ? static_cast<CORBA::Object*>(typed) : nullptr;
  }

  // The remote object an attribute operation calls. A nil wrapper has none:
  // the operation fails (inside its ladder) instead of calling through null.
  static RemotePtr remote(const W& self) {
    void* typed = self.getRemoteObject(kel_Internal());
    if (typed == nullptr) {
      kel_cppUtil::String text("This ");
      text += Traits::className;
      text += " is nil: it stands for no remote object. ";
      throw kel_UserException(text);
    }
    return static_cast<RemotePtr>(typed);
  }

  // The protected assignment(other, duplicate).
  static void assignment(W& self, const W& other, bool duplicate) {
    using namespace kel_translation;
    translate(Msg{Traits::assignmentMessage}, Where{Traits::className, "assignment"}, WithoutUserClause(), [&] {
      if (!duplicate || other.getRemoteObject(kel_Internal()) == nullptr) return;
      RemoteVar narrowed;
      try {
        narrowed = Remote::_narrow(static_cast<CORBA::Object*>(other.getBaseObject()));
      } catch (...) {
        // The base copied other's state without a count: forget it, so
        // that nothing gives up a count this object never took.
        self.makeNil();
        throw;
      }
      const bool nil = CORBA::is_nil(narrowed.in());
      self.m_remote = nil ? nullptr : static_cast<void*>(static_cast<Objref*>(narrowed.in()));
      self.m_object = nullptr;
      self.duplicate();
    });
  }

  // operator=. The old reference is given up before the new one is taken.
  static W& copy(W& self, const W& other) {
    using namespace kel_translation;
    return translate(Msg{Traits::copyMessage}, Where{Traits::className, "operator="}, Standard(), [&]() -> W& {
      if (&other == &self) return self;
      if (self.getRemoteObject(kel_Internal()) != nullptr) self.release();
      self.kel_Entity::assignment(other, false);
      self.assignment(other, true);
      return self;
    });
  }

  // ---------------------------------------------------------------- identity

  static bool equal(const W& self, const W& other) {
    using namespace kel_translation;
    return translate(Msg{Traits::compareMessage}, Where{Traits::className, "operator=="}, Standard(), [&] {
      const kel_cppUtil::String otherId = other.getId();
      const kel_cppUtil::String ownId = self.getId();
      return ownId == static_cast<const char*>(otherId);
    });
  }

  static bool less(const W& self, const W& other) {
    using namespace kel_translation;
    return translate(Msg{Traits::compareMessage}, Where{Traits::className, "operator<"}, Standard(), [&] {
      const kel_cppUtil::String otherId = other.getId();
      const kel_cppUtil::String ownId = self.getId();
      return ownId < static_cast<const char*>(otherId);
    });
  }

  static kel_WellString entityType() { return kel_WellString(Traits::entityType); }
  static kel_cppUtil::String className() { return kel_cppUtil::String(Traits::className); }
  static kel_WellString repositoryId() { return kel_WellString(Traits::typeCode()->id()); }

  // ---------------------------------------------------------------- references to wrappers

  // A wrapper with a count of its own on r, which stays the caller's.
  static W wrap(RemotePtr r) { return W(kel_RemoteStub(r), true); }

  static kel_Project project(const W& self) {
    using namespace kel_translation;
    auto body = [&] {
      EpSession::Project_var project = remote(self)->getProject();
      if (CORBA::is_nil(project.in())) return kel_Project();
      return kel_Project(kel_RemoteStub(project.in()), true);
    };
    const Msg message{Traits::projectMessage};
    const Where where{Traits::className, "getProject"};
    if constexpr (Traits::projectCatchesCorbaUser)
      return translate(message, where, StandardWithCorbaUser(Store), body);
    else
      return translate(message, where, Standard(Store), body);
  }

  static W narrow(const kel_Entity& entity, bool mustMatch) {
    using namespace kel_translation;
    return translate(Msg{Traits::narrowMessage}, Where{Traits::className, "narrow"}, Standard(), [&] {
      CORBA::Object* base = kel_remote::baseObjectOf(entity);
      RemoteVar narrowed;
      if constexpr (Traits::entityCheck == kel_EntityCheck::NullPointer) {
        if (base == nullptr) throw kel_SystemException(Traits::entityNil);
        narrowed = Remote::_narrow(base);
      } else {
        EpEntity::Entity_var asEntity = EpEntity::Entity::_narrow(base);
        if (CORBA::is_nil(asEntity.in())) throw kel_SystemException(Traits::entityNil);
        narrowed = Remote::_narrow(asEntity.in());
      }
      if (CORBA::is_nil(narrowed.in())) {
        if (mustMatch) throw kel_SystemException(Traits::wrongType);
        return W();
      }
      return wrap(narrowed.in());
    });
  }

  static W fromString(const kel_WellString& text) {
    using namespace kel_translation;
    return translate(Msg{Traits::fromStringMessage}, Where{Traits::className, "getFromString"}, Standard(),
                     [&] {
                       CORBA::ORB_ptr orb = static_cast<CORBA::ORB_ptr>(kel_Connection::getOrb());
                       RemoteVar narrowed;
                       {
                         CORBA::Object_var object = orb->string_to_object(static_cast<const char*>(text));
                         narrowed = Remote::_narrow(object.in());
                       }
                       if (CORBA::is_nil(narrowed.in())) throw kel_UserException(Traits::fromStringNil);
                       return wrap(narrowed.in());
                     });
  }

  // ---------------------------------------------------------------- arrays

  // The wrappers among entities, in order, each through W::narrow(entity,
  // false); with mustMatch every entity has to be one.
  static kel_Array<W> narrowArray(const kel_Array<kel_Entity>& entities, bool mustMatch) {
    using namespace kel_translation;
    return translate(Msg{Traits::arrayNarrowMessage}, Where{Traits::className, "narrow"}, Standard(), [&] {
      const unsigned n = entities.size();
      kel_Array<W> result(n);
      if (n == 0) return result;
      unsigned next = 0;
      for (unsigned i = 0; i < n; ++i) {
        W narrowed = W::narrow(entities[i], false);
        if (narrowed.getRemoteObject(kel_Internal()) == nullptr) {
          if (mustMatch) throw kel_SystemException(Traits::otherTypes);
          continue;
        }
        result.set(next++, narrowed);
      }
      if (next != n) result.setSize(next);
      return result;
    });
  }

  // Every object of this class in the project, through the platform's
  // entity query ("<entity type>.project.name = :prjname").
  static kel_Array<W> inProject(const kel_Project& project) {
    using namespace kel_translation;
    return translate(Msg{Traits::finderMessage}, Where{Traits::className, Traits::finderName}, Standard(), [&] {
      kel_EntityQuery query(project, Traits::entityType);
      kel_cppUtil::String whereClause(Traits::entityType);
      whereClause += ".project.name = :prjname";
      query.setWhereClause(whereClause);
      query.addParameter(":prjname", project.getName());
      query.execute();
      return W::narrow(query.getEntityResult(), true);
    });
  }

  // An array of the sequence's length, element i narrowed to this class and
  // wrapped; an element that does not narrow fails with the class's
  // null-pointer text. No ladder of its own: the calling operation's.
  template <class Sequence>
  static kel_Array<W> fromSequence(const Sequence& references) {
    const unsigned n = references.length();
    kel_Array<W> result(n);
    for (unsigned i = 0; i < n; ++i) {
      RemoteVar narrowed = Remote::_narrow(references[i]);
      result.set(i, W(kel_RemoteStub(narrowed.in()), true));
    }
    return result;
  }

  // ---------------------------------------------------------------- creation

  // The session's reference; a nil session fails with the kind the class
  // uses for that creator.
  template <class Kind>
  static EpSession::Session_ptr sessionOf(const kel_Session& session) {
    EpSession::Session_ptr raw = kel_remote::rawOrNil<EpSession::Session>(session);
    if (CORBA::is_nil(raw)) throw Kind("The supplied session is nil. ");
    return raw;
  }

  // The creators: session check, the class's data conversion, factory
  // lookup, then create(factory, session, converted), whose answer (a new
  // reference, owned) is wrapped; a nil answer fails with texts.resultNil.
  //
  // The conversion step turns the caller's values into what the factory
  // takes (sample arrays, quantities); running it before the lookup means a
  // value that does not convert fails before anything remote is asked.
  // Classes whose creators take no such data use the overloads without it.

  // Creation through the storeless factory.
  template <class Convert, class Create>
  static W createStoreless(const kel_Session& session, const kel_CreatorTexts& texts, Convert&& convert,
                           Create&& create) {
    using Factory = typename Traits::StorelessFactory;
    using SessionNil = typename std::conditional<Traits::storelessSessionNilIsUser, kel_UserException,
                                                 kel_SystemException>::type;
    EpSession::Session_ptr remoteSession = sessionOf<SessionNil>(session);
    auto converted = convert();
    typename Factory::_var_type factory;
    {
      CORBA::Object_var found =
          kel_util::FactoryFinder::findFactory(remoteSession, Traits::storelessFactoryTypeCode()->id());
      factory = Factory::_narrow(found.in());
    }
    if (CORBA::is_nil(factory.in())) throw kel_SystemException(texts.factoryNil);
    return created(create(factory.in(), remoteSession, converted), texts);
  }

  // Creation through the factory of the data store that holds parent.
  template <class Convert, class Create>
  static W createNew(const kel_Session& session, const kel_Entity& parent, const kel_CreatorTexts& texts,
                     Convert&& convert, Create&& create) {
    using Factory = typename Traits::NewFactory;
    EpSession::Session_ptr remoteSession = sessionOf<kel_SystemException>(session);
    auto converted = convert();
    const kel_cppUtil::String storeName = parent.getStoreName();
    typename Factory::_var_type factory;
    {
      CORBA::Object_var found = kel_util::FactoryFinder::findFactory(
          remoteSession, Traits::newFactoryTypeCode()->id(), nullptr, static_cast<const char*>(storeName));
      factory = Factory::_narrow(found.in());
    }
    if (CORBA::is_nil(factory.in())) throw kel_SystemException(texts.factoryNil);
    return created(create(factory.in(), remoteSession, converted), texts);
  }

  // The same without data to convert: create(factory, session).
  template <class Create>
  static W createStoreless(const kel_Session& session, const kel_CreatorTexts& texts, Create&& create) {
    return createStoreless(session, texts, noConversion, [&](auto factory, EpSession::Session_ptr on, NoData) {
      return create(factory, on);
    });
  }
  template <class Create>
  static W createNew(const kel_Session& session, const kel_Entity& parent, const kel_CreatorTexts& texts,
                     Create&& create) {
    return createNew(session, parent, texts, noConversion, [&](auto factory, EpSession::Session_ptr on, NoData) {
      return create(factory, on);
    });
  }

  // ---------------------------------------------------------------- attribute operations
  //
  // The patterns every wrapper's attributes follow, each taking the remote
  // member, the operation's message, its context fragment and its ladder, so
  // that a wrapper's attribute operation is one line:
  //
  //   return Core::getText(*this, &Objref::getCountry, Msg{"..."}, Where{"kel_Well", "getCountry"},
  //                        Standard(Store));
  //
  // Whatever the remote side hands back is held by its _var and released on
  // every path.

  using Msg = kel_translation::Msg;
  using Where = kel_translation::Where;
  template <class Result>
  using Getter = Result (Objref::*)();
  template <class Value>
  using Setter = void (Objref::*)(Value);

  // Text attributes.
  template <class LadderT>
  static kel_WellString getText(const W& self, Getter<char*> get, const Msg& message,
                                const Where& where, const LadderT& ladder) {
    return translate(message, where, ladder, [&] {
      CORBA::String_var text = (remote(self)->*get)();
      return kel_WellString(text.in());
    });
  }
  template <class LadderT>
  static void setText(W& self, Setter<const char*> set, const kel_WellString& value,
                      const Msg& message, const Where& where,
                      const LadderT& ladder) {
    translate(message, where, ladder,
                               [&] { (remote(self)->*set)(static_cast<const char*>(value)); });
  }

  // Dates travel as text; the null date as the empty text, both ways.
  template <class LadderT>
  static kel_Date getDate(const W& self, Getter<char*> get, const Msg& message,
                          const Where& where, const LadderT& ladder) {
    return translate(message, where, ladder, [&] {
      CORBA::String_var text = (remote(self)->*get)();
      return kel_Date::fromString(text.in());
    });
  }
  template <class LadderT>
  static void setDate(W& self, Setter<const char*> set, const kel_Date& value,
                      const Msg& message, const Where& where,
                      const LadderT& ladder) {
    translate(message, where, ladder, [&] {
      const kel_cppUtil::String text = value.isNullDate() ? kel_cppUtil::String() : value.toString();
      (remote(self)->*set)(static_cast<const char*>(text));
    });
  }

  // Quantities, read in the unit the caller asked for (kel_inRequestedUnit).
  template <class LadderT>
  static kel_FloatQuantity getQuantity(const W& self, Getter<EpiTypes::DataQuantity*> get, const kel_Unit& unit,
                                       const Msg& message, const Where& where,
                                       const LadderT& ladder) {
    return translate(message, where, ladder, [&] {
      EpiTypes::DataQuantity_var stored = (remote(self)->*get)();
      return kel_inRequestedUnit(kel_DataQuantityConverter::makeKelFloatQuantity(stored.in()), unit);
    });
  }
  // The overload without a unit: the unit overload getIn, called with the
  // default unit of the kind given (&kel_UnitMeasureSet::depthUnit, ...), so
  // that its failures arrive wrapped once more.
  template <class LadderT>
  static kel_FloatQuantity getQuantityInDefaultUnit(const W& self,
                                                    kel_FloatQuantity (W::*getIn)(const kel_Unit&) const,
                                                    kel_Unit kel_UnitMeasureSet::*kind,
                                                    const Msg& message,
                                                    const Where& where, const LadderT& ladder) {
    return translate(message, where, ladder,
                                      [&] { return (self.*getIn)(kel_UnitMeasureSet::getDefaultUnits().*kind); });
  }
  template <class LadderT>
  static void setQuantity(W& self, Setter<const EpiTypes::DataQuantity&> set, const kel_FloatQuantity& value,
                          const Msg& message, const Where& where,
                          const LadderT& ladder) {
    translate(message, where, ladder, [&] {
      const std::unique_ptr<EpiTypes::DataQuantity> remoteValue =
          kel_DataQuantityConverter::makeDataQuantity(value);
      (remote(self)->*set)(*remoteValue);
    });
  }

  // The primary identifier, a property record read as a pair.
  template <class LadderT>
  static kel_StringPair getIdentifier(const W& self, Getter<CosPropertyService::Property*> get,
                                      const Msg& message, const Where& where,
                                      const LadderT& ladder) {
    return translate(message, where, ladder, [&] {
      CosPropertyService::Property_var identifier = (remote(self)->*get)();
      return kel_remote::makeStringPair(identifier.in());
    });
  }

  // Aliases, in order both ways.
  template <class LadderT>
  static kel_Array<kel_StringPair> getAliases(const W& self, Getter<CosPropertyService::Properties*> get,
                                              const Msg& message,
                                              const Where& where, const LadderT& ladder) {
    return translate(message, where, ladder, [&] {
      CosPropertyService::Properties_var aliases = (remote(self)->*get)();
      return kel_remote::makeStringPairs(aliases.in());
    });
  }
  template <class LadderT>
  static void setAliases(W& self, Setter<const CosPropertyService::Properties&> set,
                         const kel_Array<kel_StringPair>& aliases, const Msg& message,
                         const Where& where, const LadderT& ladder) {
    translate(message, where, ladder, [&] {
      const CosPropertyService::Properties remoteAliases = kel_remote::makeProperties(aliases);
      (remote(self)->*set)(remoteAliases);
    });
  }

  // Enumerations, through the class's converters (kel_EnumRule): a value
  // that does not map fails before anything is sent.
  template <class Kel, class Epi, class LadderT>
  static Kel getEnum(const W& self, Getter<Epi> get, Kel (*toKel)(Epi), const Msg& message,
                     const Where& where, const LadderT& ladder) {
    return translate(message, where, ladder, [&] { return toKel((remote(self)->*get)()); });
  }
  template <class Kel, class Epi, class LadderT>
  static void setEnum(W& self, Setter<Epi> set, Epi (*toEpi)(Kel), Kel value, const Msg& message,
                      const Where& where, const LadderT& ladder) {
    translate(message, where, ladder, [&] {
      RemotePtr target = remote(self);  // a nil wrapper fails before the value is looked at
      (target->*set)(toEpi(value));
    });
  }

private:
  struct NoData {};
  static NoData noConversion() { return NoData{}; }

  static W created(RemotePtr reference, const kel_CreatorTexts& texts) {
    RemoteVar owned = reference;
    if (CORBA::is_nil(owned.in())) throw kel_SystemException(texts.resultNil);
    return wrap(owned.in());
  }
};

#endif
