#pragma once
// How a tool talks to its user: message boxes, questions, status lines, progress.
#include <string>
#include <string_view>

namespace ovd {

enum class Severity { Error, Warning, Info };
enum class Answer { Yes, No, Cancel };
enum class Buttons { YesNo, YesNoCancel };

// Captions the tools use; the caption travels with each message.
inline constexpr std::string_view kCaptionError = "Chyba";
inline constexpr std::string_view kCaptionWarning = "Upozornění";
inline constexpr std::string_view kCaptionInfo = "Zpráva";

// What a question is about: an unattended run answers an overwrite Yes and anything else No.
// Restart is the offer to continue a computation from its checkpoint.
enum class QuestionKind { Other, Overwrite, Restart };

struct Question {
    std::string caption;
    std::string text;
    Buttons buttons = Buttons::YesNo;
    Answer defaultAnswer = Answer::Yes;
    QuestionKind kind = QuestionKind::Other;
};

class Reporter {
public:
    virtual ~Reporter() = default;
    virtual void message(Severity, std::string_view caption, std::string_view text) = 0;
    virtual Answer ask(const Question&) = 0;
    virtual void status(int line, std::string_view text) = 0;
    virtual void progress(long value, long maximum) = 0;
    virtual void title(std::string_view) { }
    virtual bool cancelled() const { return false; }

    void error(std::string_view text) { message(Severity::Error, kCaptionError, text); }
    void warning(std::string_view text) { message(Severity::Warning, kCaptionWarning, text); }
    void info(std::string_view text) { message(Severity::Info, kCaptionInfo, text); }
};

// "Soubor <path> již existuje. Chcete jej přepsat ?" when the file exists (No by default).
// True when the file may be written: it does not exist or the user answered Yes.
bool confirmOverwrite(Reporter&, const std::string& path);
std::string overwriteQuestionText(const std::string& path);

}  // namespace ovd
