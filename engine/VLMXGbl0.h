// The report component's exceptions. Each message starts with a prefix that tells the user
// whether the report's setup, the printing or the component itself failed; each class puts its
// own prefix in front, so a throw site states only the fact.
#pragma once
#include <string>

#include "framework/rtl/Exceptions.h"

inline const std::string VlxErrorPrefix = "Vellumix! Error: ";
inline const std::string VlxSetupErrorPrefix = "Vellumix! Setup Error: ";
inline const std::string VlxPrintingErrorPrefix = "Vellumix! Printing Error: ";
inline const std::string VlxInternalErrorPrefix = "Vellumix! Internal Error: ";
inline const std::string VlxUserTerminatedMsg = "Vellumix! User Terminated Report";

// Marks a message that is already the whole text, a prefix of its own included.
struct TVlxWholeText {};
inline constexpr TVlxWholeText VlxWholeText{};

class eVlxError : public Exception {
public:
  explicit eVlxError(const std::string& Fact) : Exception(VlxErrorPrefix + Fact) {}
  eVlxError(TVlxWholeText, const std::string& Msg) : Exception(Msg) {}
};
// A wrong property, object, option, password, settings file or page size.
class eVlxSUError : public eVlxError {
public:
  explicit eVlxSUError(const std::string& Fact) : eVlxError(VlxWholeText, VlxSetupErrorPrefix + Fact) {}
  eVlxSUError(TVlxWholeText, const std::string& Msg) : eVlxError(VlxWholeText, Msg) {}
};
// The spooler, the printer or the output file failed.
class eVlxPrtError : public eVlxError {
public:
  explicit eVlxPrtError(const std::string& Fact) : eVlxError(VlxWholeText, VlxPrintingErrorPrefix + Fact) {}
};
// An inconsistency inside the component: an index out of range, a missing case, a call in the
// wrong state. The fact names the routine that found it in square brackets.
class eVlxIntError : public eVlxError {
public:
  explicit eVlxIntError(const std::string& Fact) : eVlxError(VlxWholeText, VlxInternalErrorPrefix + Fact) {}
};
// The user ended the report. Told apart from the errors by its class.
class eVlxUserTermRpt : public eVlxError {
public:
  eVlxUserTermRpt() : eVlxError(VlxWholeText, VlxUserTerminatedMsg) {}
};
