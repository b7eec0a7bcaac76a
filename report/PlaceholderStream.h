// One replacement step over a text that arrives in pieces.
#pragma once

#include <functional>
#include <string>
#include <string_view>

// Gives exactly what a left-to-right replacement over the whole text gives, while holding no more
// than the placeholder's length of it: a long report goes through several steps without ever being
// held whole in memory.
class CPlaceholderStream
{
public:
    using Sink = std::function<void(std::string_view)>;

    CPlaceholderStream(std::string strPlaceholder, std::string strValue, Sink next);

    void Write(std::string_view strText);
    // Passes on what was held back at the end of the text.
    void Finish();

private:
    std::string m_strPlaceholder;
    std::string m_strValue;
    Sink m_next;
    std::string m_strPending;
};
