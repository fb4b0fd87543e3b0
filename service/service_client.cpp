#include "service/service_client.h"

#include "platform/text.h"

namespace quorsa::service {
namespace {

constexpr std::string_view kCodeLabel = " 错误代码：";

}  // namespace

bool parseDrawTable(std::string_view text, DrawTable& table) {
    if (text.empty()) {
        return false;
    }
    const auto lines = platform::splitText(text, "\r\n");
    std::vector<std::string> fields;
    for (const auto& line : lines) {
        for (auto& field : platform::splitText(line, "|+|")) {
            fields.push_back(std::move(field));
        }
    }
    const std::size_t lineCount = lines.size();
    const std::size_t columnCount = lineCount == 0 ? 0 : fields.size() / lineCount;
    DrawTable result(lineCount, std::vector<std::string>(columnCount));
    for (std::size_t r = 0; r < lineCount; ++r) {
        for (std::size_t c = 0; c < columnCount; ++c) {
            result[r][c] = std::move(fields[r * columnCount + c]);
        }
    }
    table = std::move(result);
    return true;
}

bool selectDrawRows(std::string_view rawText, std::string& rows) {
    JsonObject envelope;
    if (!envelope.parse(rawText)) {
        return false;
    }
    std::int32_t type = kJsonInvalid;
    const std::string inner = envelope.memberText("data", type);
    if (type != kJsonString) {
        return false;
    }
    JsonObject payload;
    if (!payload.parse(inner)) {
        return false;
    }
    std::string text = payload.memberText("data", type);
    if (type != kJsonString) {
        return false;
    }
    rows = platform::replaceAll(text, "\\\\r\\\\n", "\r\n");
    return true;
}

bool ServiceClient::connect(const std::string& serviceUrl, std::int32_t applicationId) {
    ServiceTransport transport(*m_http, *m_time);
    transport.setup(serviceUrl, applicationId);
    if (!transport.callTexts(m_initAnswer, "init", "", "", "", "", "", 0)) {
        m_lastErrorText = "初始化连接服务器失败！：" + m_initAnswer.message() +
                          std::string(kCodeLabel) + m_initAnswer.errorCode();
        return false;
    }
    m_record.drawurl = m_initAnswer.memberText("drawurl");
    m_record.newphase = m_initAnswer.memberText("newphase");
    m_record.advert1 = m_initAnswer.memberText("advert1");
    m_record.version = m_initAnswer.memberText("version");
    m_record.proupurl = m_initAnswer.memberText("proupurl");
    m_newestIssueUrl = m_record.newphase;
    m_drawTransport.setup(m_record.drawurl, applicationId);
    return true;
}

bool ServiceClient::newestDraws(std::vector<std::string>& parts) {
    if (!m_drawTransport.callTexts(m_drawAnswer, "newestdraw", m_sessionValue, "", "", "", "", 0)) {
        return false;
    }
    parts = platform::splitText(m_drawAnswer.memberText("data"), "| |");
    return !parts.empty();
}

bool ServiceClient::recentDraws(std::int32_t count, DrawTable& table) {
    std::string rawText;
    std::int32_t rand = 0;
    const std::vector<std::string> arguments = {m_sessionValue, std::to_string(count)};
    if (!m_drawTransport.call(rawText, "select_draw", arguments, rand, m_drawAnswer)) {
        m_lastErrorText = "获取最新开奖数据失败!" + m_drawAnswer.message() +
                          std::string(kCodeLabel) + m_drawAnswer.errorCode();
        return false;
    }
    std::string rows;
    if (!selectDrawRows(rawText, rows)) {
        ServiceTransport::setError(m_drawAnswer, std::string(kLocalErrorCode),
                                   std::string(kDataNotJsonMessage), "");
        m_lastErrorText = "获取最新开奖数据失败!" + m_drawAnswer.message() +
                          std::string(kCodeLabel) + m_drawAnswer.errorCode();
        return false;
    }
    parseDrawTable(rows, table);
    return true;
}

std::string ServiceClient::newestIssue() {
    std::string text = m_newestIssueUrl.empty() ? std::string() : m_http->get(m_newestIssueUrl);
    if (text.empty()) {
        m_lastErrorText = "最新期号获取失败!";
    }
    return text;
}

}  // namespace quorsa::service
