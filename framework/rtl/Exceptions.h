// The root of every exception the framework and the program raise: a message text, shown as it
// stands by the application's error box.
#pragma once
#include <exception>
#include <string>

class Exception : public std::exception {
public:
  explicit Exception(std::string Msg) : FMessage(std::move(Msg)) {}
  const std::string& Message() const noexcept { return FMessage; }
  void SetMessage(std::string Msg) { FMessage = std::move(Msg); }
  const char* what() const noexcept override { return FMessage.c_str(); }

private:
  std::string FMessage;
};

// Raised where a text cannot be read as the number or date that was asked for, or a format
// does not match its arguments.
class EConvertError : public Exception { using Exception::Exception; };

// Raised where an index is outside its list.
class EListError : public Exception { using Exception::Exception; };

// Raised where memory cannot be had; EOutOfResources where the system has no more windows,
// timers or the like to give.
class EOutOfMemory : public Exception { using Exception::Exception; };
class EOutOfResources : public EOutOfMemory { using EOutOfMemory::EOutOfMemory; };

// Raised where a call into the operating system fails or it does not answer what was asked.
class EOSError : public Exception { using Exception::Exception; };

// Raised by the framework's own precondition checks (FW_ASSERT).
class EAssertionFailed : public Exception { using Exception::Exception; };

#define FW_ASSERT(cond)                                                                   \
  do {                                                                                    \
    if (!(cond)) throw EAssertionFailed(std::string("Assertion failed: " #cond " (") +   \
                                        __FILE__ + ":" + std::to_string(__LINE__) + ")"); \
  } while (0)

// Raised where a file cannot be opened for reading, created, read or written.
class EStreamError : public Exception { using Exception::Exception; };
class EFOpenError : public EStreamError { using EStreamError::EStreamError; };
class EFCreateError : public EStreamError { using EStreamError::EStreamError; };
