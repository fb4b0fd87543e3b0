#include "plan/formula_parser.h"

#include <cmath>

#include "plan/plan_engine.h"
#include "platform/messages.h"
#include "platform/text.h"

namespace quorsa::plan {

void WrappedTextBuilder::clear() {
    m_text.clear();
    m_itemCounter = 1;
    m_perLine = 0;
    m_separator.clear();
    m_lineBreak.clear();
}

void WrappedTextBuilder::setup(std::int32_t perLine, const std::string& separator,
                               const std::string& lineBreak) {
    clear();
    m_perLine = perLine;
    m_separator = separator;
    m_lineBreak = lineBreak;
}

void WrappedTextBuilder::append(const std::string& item) {
    if (m_perLine != 0 && m_itemCounter % m_perLine != 0) {
        m_text += item + m_separator;
    } else {
        m_text += item + m_lineBreak;
        m_itemCounter = 0;
    }
    ++m_itemCounter;
}

FormulaPatterns::FormulaPatterns()
    : expression("<(.+)>"),
      comment("#(.*)"),
      section(R"(\[(.+)\].*\n([^\[#]*))"),
      product(R"((\d\*)+\d?)"),
      range(R"((\d+)~(\d+))"),
      repeat(R"([\(（](\d)[\)）])") {}

void FormulaParser::parse(const std::string& text, std::vector<FormulaEntry>& entries) {
    const auto parts = platform::splitText(text, "|+|");
    entries.assign(parts.size(), FormulaEntry{});
    for (std::size_t i = 0; i < parts.size(); ++i) {
        extractExpression(parts[i], entries[i].expression);
        extractComment(parts[i], entries[i].comment);
        extractSections(parts[i], entries[i]);
    }
}

bool FormulaParser::extractExpression(const std::string& part, std::string& expression) {
    const auto match = m_patterns->expression.search(part);
    if (!match.found) {
        m_messages->information("表达式格式错误！错误内容：" + part, "");
        return false;
    }
    expression = match.group(1);
    return true;
}

bool FormulaParser::extractComment(const std::string& part, std::string& comment) const {
    const auto matches = m_patterns->comment.searchAll(part);
    if (matches.empty())
        return false;
    for (const auto& match : matches)
        comment += match.group(1) + "\r\n";
    return true;
}

void FormulaParser::extractSections(const std::string& part, FormulaEntry& entry) {
    const auto matches = m_patterns->section.searchAll(part);
    entry.sectionCount = static_cast<std::int32_t>(matches.size());
    entry.sections.assign(matches.size(), FormulaSection{});
    for (std::size_t i = 0; i < matches.size(); ++i) {
        entry.sections[i].name = matches[i].group(1);
        expandBody(matches[i].group(2), entry.sections[i].labels, entry.sections[i].kinds);
    }
}

void FormulaParser::expandBody(const std::string& body, std::string& labels, std::string& kinds) {
    m_kindsBuilder.setup(5);
    m_labelsBuilder.setup(5);
    for (const auto& token : platform::splitText(platform::replaceAll(body, "\r\n", " "), " ")) {
        std::string a = token;
        std::string b = token;
        if (!applyProduct(a, b))
            applyRange(a, b);
        if (!applyRepeat(a, b)) {
            m_labelsBuilder.append(b);
            m_kindsBuilder.append(a);
        }
    }
    labels = m_labelsBuilder.getText();
    kinds = m_kindsBuilder.getText();
}

bool FormulaParser::applyProduct(const std::string& a, std::string& b) const {
    const auto match = m_patterns->product.search(a);
    if (!match.found) {
        b = a;
        return false;
    }
    b = platform::replaceAll(a, match.text, std::to_string(productOf(match.text)));
    return true;
}

std::int32_t FormulaParser::productOf(const std::string& m) {
    // Wraps at 32 bits like the integer it is shown as.
    std::uint32_t product = 1;
    for (const auto& factor : platform::splitText(m, "*")) {
        product *= static_cast<std::uint32_t>(platform::leadingInt(factor));
    }
    return static_cast<std::int32_t>(product);
}

bool FormulaParser::applyRepeat(std::string& a, std::string& b) {
    const auto match = m_patterns->repeat.search(a);
    if (!match.found)
        return false;
    const std::int32_t n = platform::leadingInt(match.group(1));
    a = platform::replaceAll(a, match.text, "");
    b = platform::replaceAll(b, match.text, "");
    for (std::int32_t i = 1; i <= n; ++i) {
        m_labelsBuilder.append(b + "(" + std::to_string(i) + ")");
        m_kindsBuilder.append(a);
    }
    return true;
}

bool FormulaParser::applyRange(std::string& a, std::string& b) const {
    const auto match = m_patterns->range.search(a);
    if (!match.found) {
        b = a;
        return false;
    }
    b = platform::replaceAll(a, match.text, match.group(1));
    a = b;
    return true;
}

bool buildPlansFromFormula(PlanEngine& engine, const std::string& text) {
    FormulaParser parser(engine.formulaPatterns(), engine.messages());
    std::vector<FormulaEntry> entries;
    parser.parse(text, entries);
    if (entries.empty())
        return false;
    for (const auto& section : entries.front().sections) {
        const auto kinds =
            platform::splitText(platform::replaceAll(section.kinds, "\r\n", " "), " ");
        const auto labels =
            platform::splitText(platform::replaceAll(section.labels, "\r\n", " "), " ");
        const std::int32_t periods = platform::leadingInt(section.name);
        for (std::size_t j = 0; j < kinds.size(); ++j) {
            if (kinds[j].empty())
                continue;
            const std::string label = j < labels.size() ? labels[j] : std::string();
            if (!engine.book().addPlan(kinds[j], label, periods))
                return false;
        }
    }
    return true;
}

}  // namespace quorsa::plan
