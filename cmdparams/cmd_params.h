#pragma once
// OKRA_CMDParams: a program's command line as key/value items. Positional items get the
// keys "0", "1", ...; "/key value" gives a keyed item and "/s" a switch (empty value).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#if defined(OKRA_CMDPARAMS_BUILD)
#define OKRA_CMDPARAMS_API __attribute__((visibility("default")))
#else
#define OKRA_CMDPARAMS_API
#endif

class OKRA_CMDPARAMS_API cCMD {
public:
    cCMD() = default;
    cCMD(std::string pKey, std::string pValue)
        : m_key(std::move(pKey))
        , m_value(std::move(pValue))
    { }

    const std::string& Key() const { return m_key; }
    void Key(std::string_view pKey) { m_key = std::string(pKey); }
    const std::string& Value() const { return m_value; }
    void Value(std::string_view pValue) { m_value = std::string(pValue); }

private:
    std::string m_key;
    std::string m_value;
};

class OKRA_CMDPARAMS_API cCMDParams {
public:
    // The delimiter that starts a keyed item or switch ("/" at first).
    std::string DelimiterChar() const { return std::string(1, m_delimiter); }
    // Keeps only the first character (an empty text gives a blank).
    void DelimiterChar(std::string_view pDelimiterChar);

    const std::string& CMDParams() const { return m_commandLine; }
    void CMDParams(std::string_view pCMDParams);

    std::int16_t Count();
    bool IsExistKey(std::string_view pKey);
    // A new item: the stored key and value, or pDefaultValue when the stored value is
    // empty or there is no such key (then the key is pKey).
    cCMD Item(std::string_view pKey, std::string_view pDefaultValue = {});
    // The stored items in the order they were added.
    std::vector<cCMD> NewEnum();

private:
    void parseIfNeeded();
    void parse();
    void addItem(std::string key, std::string value);
    const cCMD* findItem(std::string_view key) const;

    std::string m_commandLine;
    char m_delimiter = '/';
    std::vector<cCMD> m_items;
    std::vector<std::string> m_lookupKeys;  // key + "#", lower case, parallel to m_items
    bool m_parsed = true;
};

// Joins program arguments into one command line for cCMDParams: the switches stay bare,
// every other argument (empty ones too) goes in double quotes.
OKRA_CMDPARAMS_API std::string joinCommandLine(const std::vector<std::string>& args,
                                               const std::vector<std::string>& switches = {"/s", "/ini"});
