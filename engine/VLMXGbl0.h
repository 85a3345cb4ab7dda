// The report component's exceptions. Each message starts with a prefix that tells the user
// whether the report's setup, the printing or the component itself failed.
#pragma once
#include <string>

#include "framework/rtl/Exceptions.h"

inline const std::string VlxErrorPrefix = "Vellumix! Error: ";
inline const std::string VlxSetupErrorPrefix = "Vellumix! Setup Error: ";
inline const std::string VlxPrintingErrorPrefix = "Vellumix! Printing Error: ";
inline const std::string VlxInternalErrorPrefix = "Vellumix! Internal Error: ";
inline const std::string VlxUserTerminatedMsg = "Vellumix! User Terminated Report";

class eVlxError : public Exception { using Exception::Exception; };
// A wrong property, object, option, password, settings file or page size.
class eVlxSUError : public eVlxError { using eVlxError::eVlxError; };
// The spooler, the printer or the output file failed.
class eVlxPrtError : public eVlxError { using eVlxError::eVlxError; };
// An inconsistency inside the component: an index out of range, a missing case, a call in the
// wrong state.
class eVlxIntError : public eVlxError { using eVlxError::eVlxError; };
// The user ended the report.
class eVlxUserTermRpt : public eVlxError {
public:
  eVlxUserTermRpt() : eVlxError(VlxUserTerminatedMsg) {}
};

// The user's stop is told apart by its whole text, exactly.
inline bool IsUserTermination(const std::exception& E) {
  return std::string(E.what()) == VlxUserTerminatedMsg;
}
