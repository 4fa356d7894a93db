#include "reporter.h"

#include "paths.h"

namespace ovd {

std::string overwriteQuestionText(const std::string& path)
{
    return "Soubor " + path + " již existuje.\nChcete jej přepsat ?";
}

bool confirmOverwrite(Reporter& reporter, const std::string& path)
{
    if (!fileExists(path))
        return true;
    Question q{std::string(kCaptionWarning), overwriteQuestionText(path), Buttons::YesNo, Answer::No,
               QuestionKind::Overwrite};
    return reporter.ask(q) == Answer::Yes;
}

}  // namespace ovd
