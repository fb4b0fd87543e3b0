#include "plan/predictor.h"

#include "platform/messages.h"

namespace quorsa::plan {

std::string Predictor::取下期预测(std::int32_t) {
    m_messages->information("错误！接口类函数 取下期预测（） 被直接调用", "");
    return {};
}

bool Predictor::验证预测(const std::vector<std::string>&, const std::string&) {
    m_messages->information("错误！接口类函数 验证预测 被直接调用", "");
    return false;
}

}  // namespace quorsa::plan
