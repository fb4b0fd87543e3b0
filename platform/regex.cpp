#include "platform/regex.h"

#include <algorithm>

#include <QRegularExpression>
#include <QString>

namespace quorsa::platform {
namespace {

QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string toUtf8(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

RegexMatch convert(const QRegularExpressionMatch& match) {
    RegexMatch result;
    if (!match.hasMatch())
        return result;
    result.found = true;
    result.text = toUtf8(match.captured(0));
    const int last = match.lastCapturedIndex();
    // Groups after the last one that took part still exist in the pattern.
    const int count = std::max(last, match.regularExpression().captureCount());
    for (int i = 1; i <= count; ++i)
        result.groups.push_back(toUtf8(match.captured(i)));
    return result;
}

}  // namespace

struct Regex::Impl {
    QRegularExpression expression;
};

Regex::Regex(std::string_view pattern)
    : m_impl(std::make_unique<Impl>(Impl{QRegularExpression(toQString(pattern))})) {
    m_impl->expression.optimize();
}

Regex::~Regex() = default;
Regex::Regex(Regex&&) noexcept = default;
Regex& Regex::operator=(Regex&&) noexcept = default;

bool Regex::isValid() const {
    return m_impl && m_impl->expression.isValid();
}

bool Regex::matches(std::string_view text) const {
    return isValid() && m_impl->expression.match(toQString(text)).hasMatch();
}

RegexMatch Regex::search(std::string_view text) const {
    if (!isValid())
        return {};
    return convert(m_impl->expression.match(toQString(text)));
}

std::vector<RegexMatch> Regex::searchAll(std::string_view text) const {
    std::vector<RegexMatch> result;
    if (!isValid())
        return result;
    auto it = m_impl->expression.globalMatch(toQString(text));
    while (it.hasNext())
        result.push_back(convert(it.next()));
    return result;
}

}  // namespace quorsa::platform
