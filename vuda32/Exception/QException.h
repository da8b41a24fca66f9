// The exception family of the in-house library.
//   ErrExcepInfo    one place an error passed: type, codes, texts, file, method, line
//   QException      root: the trace of places, oldest first; ShowReport
//   QGenException   general library failures (registry, GDI, events, hooks ...)
//   QWinException   window and control failures
//   QFileException  file and log-file failures
// Thrown by value, caught by reference; copying copies the whole trace.
#pragma once

#include <cstdint>
#include <deque>
#include <string>

struct ErrExcepInfo {
    std::string typeName;
    uint32_t errorCode = 0;
    uint32_t systemError = 0;
    std::string description;
    std::string extraText;
    std::string sourceFile;
    std::string method;
    int32_t line = 0;
};

// The record handed out when a trace is empty; built on first use.
const ErrExcepInfo& defaultErrExcepInfo();

// What the error report says about the application.
struct QAppInfo {
    std::string name = "TEST APP";
    uint32_t address = 40000;
    std::string version = "11.22.33";
    std::string disclaimer = "This is the standard disclamer.";
};

// Replaces the four values together. Must not run while another thread shows a report.
void SetAppInfo(uint32_t address, const char* name, const char* version, const char* disclaimer);
const QAppInfo& GetAppInfo();

class QException {
public:
    static const char* const TypeName;

    QException(const std::string& file, const std::string& method, int line,
               const std::string& description, uint32_t code, uint32_t systemError);
    QException(const std::string& file, const std::string& method, int line,
               const std::string& description, uint32_t code, uint32_t systemError,
               const std::string& extraText);
    virtual ~QException();

    // Shows the oldest record (the raising site) in a modal error box.
    virtual void ShowReport() const;

    // Catch sites record that the error passed them; a repeat of the newest file and
    // method adds nothing.
    void AddInfo(const std::string& file, const std::string& method, int line,
                 const std::string& description, uint32_t code, uint32_t systemError);

    const ErrExcepInfo& GetFirstInfo() const;
    const ErrExcepInfo& GetLastInfo() const;
    const std::deque<ErrExcepInfo>& GetTrace() const { return trace_; }

protected:
    // For subclasses, which record their first place with their own type and text.
    QException() = default;
    void Record(const char* typeName, const std::string& file, const std::string& method,
                int line, const std::string& description, uint32_t code,
                uint32_t systemError, const std::string& extraText);

private:
    std::deque<ErrExcepInfo> trace_;
};

class QGenException : public QException {
public:
    static const char* const TypeName;

    QGenException(const std::string& file, const std::string& method, int line,
                  uint32_t code, uint32_t systemError);
    virtual std::string GetErrorText(uint32_t code) const;
    // The table lookup needs no object: constructors and tests use it directly.
    static const char* ErrorText(uint32_t code);

protected:
    QGenException() = default;
};

class QWinException : public QGenException {
public:
    static const char* const TypeName;

    QWinException(const std::string& file, const std::string& method, int line,
                  uint32_t code, uint32_t systemError);
    std::string GetErrorText(uint32_t code) const override;
    static const char* ErrorText(uint32_t code);
};

class QFileException : public QGenException {
public:
    static const char* const TypeName;

    QFileException(const std::string& file, const std::string& method, int line,
                   uint32_t code, uint32_t systemError);
    QFileException(const std::string& file, const std::string& method, int line,
                   uint32_t code, uint32_t systemError, const std::string& extraText);
    std::string GetErrorText(uint32_t code) const override;
    static const char* ErrorText(uint32_t code);
};

// The text every table gives for a code it does not hold.
extern const char* const kErrorNotInList;
