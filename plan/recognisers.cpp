#include "plan/recognisers.h"

#include "plan/number_helpers.h"
#include "platform/text.h"

namespace quorsa::plan {
namespace {

enum DiceKind : std::size_t {
    kPositionCodes = 0,
    kSameNumber,
    kDistinctNumber,
    kSum,
    kSingleDan,
};

// Pick count of the different-number kinds.
constexpr std::int32_t kDistinctPickCount = 4;

std::vector<platform::Regex> compileAll(const std::vector<std::string>& texts) {
    std::vector<platform::Regex> patterns;
    patterns.reserve(texts.size());
    for (const auto& text : texts)
        patterns.emplace_back(text);
    return patterns;
}

bool isDiceValueCount(std::int64_t n) {
    return n >= 1 && n <= kDiceFaces;
}

}  // namespace

const std::vector<std::string>& PlanRecognisers::racePatternTexts() {
    static const std::vector<std::string> texts = {
        R"(((?:冠|亚|季)军|前\d名|\d号车|\d+号|冠亚和值)(\d+胆|单双|大小|(?:\d+\*)+\d|位置))",
        R"((冠|亚|季)军(\d+)胆(\d+)期)",
        R"(前(\d+)名((?:\d+\*)+\d)注)",
        R"((\d+)号车位置)",
        R"((\d+|冠|亚|季)(?:号|军)(单双|大小)(?:\d+期)?)",
        R"((冠亚)和值(单双|大小))",
    };
    return texts;
}

const std::vector<std::string>& PlanRecognisers::dicePatternTexts() {
    static const std::vector<std::string> texts = {
        R"(([个十百])位定(\d+)码)", R"(([一二三])同号复选)", R"(([一二三])不同号(?:通选)?)",
        R"(和值(大小|单双))",       R"(独胆定(\d+)码)",
    };
    return texts;
}

PlanRecognisers::PlanRecognisers(RandomGenerator& random, platform::MessageSink& messages)
    : m_random(random),
      m_messages(messages),
      m_racePatterns(compileAll(racePatternTexts())),
      m_dicePatterns(compileAll(dicePatternTexts())),
      m_positionCodes(random, messages),
      m_sameNumber(random, messages),
      m_distinctNumber(random, messages),
      m_sumParity(random, messages),
      m_sumSize(random, messages) {}

std::unique_ptr<Predictor> PlanRecognisers::recognise(const std::string& kind,
                                                      const std::string& name) {
    std::size_t found = m_dicePatterns.size();
    for (std::size_t i = 0; i < m_dicePatterns.size(); ++i) {
        if (m_dicePatterns[i].matches(kind)) {
            found = i;
            break;
        }
    }
    if (found == m_dicePatterns.size())
        return nullptr;
    const platform::RegexMatch match = m_dicePatterns[found].search(kind);

    switch (found) {
        case kPositionCodes: {
            const std::string place = match.group(1);
            const std::int32_t position = place == "百" ? 1 : place == "十" ? 2 : 3;
            // A position holds six faces: more codes could never be collected.
            // Checked before narrowing, so no count wraps into the range.
            const std::int64_t count = platform::leadingInt64(match.group(2));
            if (!isDiceValueCount(count))
                return nullptr;
            m_positionCodes.configure(position, static_cast<std::int32_t>(count), name);
            return m_positionCodes.clone();
        }
        case kSameNumber:
            m_sameNumber.configure(chineseNumeral(match.group(1)), name);
            return m_sameNumber.clone();
        case kDistinctNumber:
            m_distinctNumber.configure(chineseNumeral(match.group(1)), kDistinctPickCount, name);
            return m_distinctNumber.clone();
        case kSum:
            if (match.group(1) == "单双") {
                m_sumParity.configure(1, 3, name);
                return m_sumParity.clone();
            }
            m_sumSize.configure(1, 3, name);
            return m_sumSize.clone();
        case kSingleDan: {
            // A fresh instance for every plan, gone when the plan holds its clone.
            // Codes may repeat, but more than a die's faces only grows the text:
            // a count in the billions would exhaust memory.
            const std::int64_t count = platform::leadingInt64(match.group(1));
            if (count < 0 || count > kDiceFaces)
                return nullptr;
            auto singleDan = std::make_unique<SingleDanPredictor>(m_random, m_messages);
            singleDan->configure(static_cast<std::int32_t>(count), name);
            return singleDan;
        }
        default:
            return nullptr;
    }
}

}  // namespace quorsa::plan
