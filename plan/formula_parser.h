#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/regex.h"

namespace quorsa::platform {
class MessageSink;
}

namespace quorsa::plan {

class PlanEngine;

// Items joined with a separator, with a line break after every perLine-th.
class WrappedTextBuilder {
public:
    void clear();
    void setup(std::int32_t perLine, const std::string& separator = " ",
               const std::string& lineBreak = "\r\n");
    // perLine must be at least 1 (setup first).
    void append(const std::string& item);
    std::string getText() const { return m_text; }

private:
    std::string m_text;
    std::int32_t m_itemCounter = 1;
    std::int32_t m_perLine = 0;
    std::string m_separator;
    std::string m_lineBreak;
};

struct FormulaSection {
    std::string name;    // the period count of its plans, as text
    std::string kinds;   // expanded plan kinds, wrapped five to a line
    std::string labels;  // their labels, item for item
};

struct FormulaEntry {
    std::string expression;
    std::string comment;  // each comment followed by "\r\n"
    std::vector<FormulaSection> sections;
    std::int32_t sectionCount = 0;
};

// The formula patterns, compiled once on the engine's first formula.
struct FormulaPatterns {
    FormulaPatterns();
    platform::Regex expression;
    platform::Regex comment;
    platform::Regex section;
    platform::Regex product;
    platform::Regex range;
    platform::Regex repeat;
};

// Splits a formula text into entries, sections and expanded token lists.
class FormulaParser {
public:
    FormulaParser(const FormulaPatterns& patterns, platform::MessageSink& messages)
        : m_patterns(&patterns), m_messages(&messages) {}

    void parse(const std::string& text, std::vector<FormulaEntry>& entries);
    bool extractExpression(const std::string& part, std::string& expression);
    bool extractComment(const std::string& part, std::string& comment) const;
    void extractSections(const std::string& part, FormulaEntry& entry);
    void expandBody(const std::string& body, std::string& labels, std::string& kinds);
    bool applyProduct(const std::string& a, std::string& b) const;
    static std::int32_t productOf(const std::string& m);
    bool applyRepeat(std::string& a, std::string& b);
    bool applyRange(std::string& a, std::string& b) const;

private:
    const FormulaPatterns* m_patterns;
    platform::MessageSink* m_messages;
    WrappedTextBuilder m_kindsBuilder;
    WrappedTextBuilder m_labelsBuilder;
};

// Adds one plan per kind token of the formula's first entry, with the
// section's period count; false on a text without entries or at the first
// kind no recogniser knows (plans added before it stay).
bool buildPlansFromFormula(PlanEngine& engine, const std::string& text);

}  // namespace quorsa::plan
