#include "number_texts.h"

#include <string>

namespace ovd {

bool isNonFiniteText(std::string_view text)
{
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    if (!text.empty() && (text.front() == '+' || text.front() == '-'))
        text.remove_prefix(1);
    std::string word;
    for (char c : text)
        word.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
    return word == "nan" || word == "inf" || word == "infinity" || word.rfind("nan(", 0) == 0;
}

}  // namespace ovd
