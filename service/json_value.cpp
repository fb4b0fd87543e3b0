#include "service/json_value.h"

#include <limits>
#include <nlohmann/json.hpp>

#include "platform/encoding.h"
#include "platform/text.h"

namespace quorsa::service {
namespace {

// Writing nests by recursion, so documents nested deeper than this are
// refused at the door instead of exhausting the stack later.
constexpr int kMaxDepth = 256;

bool nestingWithinLimit(std::string_view text) {
    int depth = 0;
    bool inString = false;
    bool escaped = false;
    for (char c : text) {
        if (inString) {
            if (escaped) {
                escaped = false;
            } else if (c == '\\') {
                escaped = true;
            } else if (c == '"') {
                inString = false;
            }
            continue;
        }
        if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > kMaxDepth) {
                return false;
            }
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return true;
}

std::string dumpText(const JsonNode& node) {
    try {
        return node.dump(-1, ' ', false, nlohmann::detail::error_handler_t::replace);
    } catch (...) {
        return {};
    }
}

}  // namespace

JsonValue::JsonValue() = default;
JsonValue::JsonValue(const JsonValue& other)
    : m_node(other.m_node ? std::make_unique<JsonNode>(*other.m_node) : nullptr) {}
JsonValue& JsonValue::operator=(const JsonValue& other) {
    if (this != &other) {
        m_node = other.m_node ? std::make_unique<JsonNode>(*other.m_node) : nullptr;
    }
    return *this;
}
JsonValue::JsonValue(JsonValue&&) noexcept = default;
JsonValue& JsonValue::operator=(JsonValue&&) noexcept = default;
JsonValue::~JsonValue() = default;

bool JsonValue::reset() {
    replaceNode(JsonNode());
    return true;
}

bool JsonValue::parse(std::string_view text) {
    m_node.reset();
    // The engine stops at a NUL byte, which no JSON text holds anywhere.
    if (text.find('\0') != std::string_view::npos || !platform::isValidUtf8(text) ||
        !nestingWithinLimit(text)) {
        return false;
    }
    try {
        JsonNode parsed = JsonNode::parse(text.begin(), text.end(), nullptr, false, false);
        if (parsed.is_discarded()) {
            return false;
        }
        m_node = std::make_unique<JsonNode>(std::move(parsed));
        return true;
    } catch (...) {
        return false;
    }
}

std::string JsonValue::toText() const {
    return isInvalid() ? std::string() : dumpText(*m_node);
}

void JsonValue::freeNode() {
    m_node.reset();
}

void JsonValue::replaceNode(JsonNode node) {
    m_node = std::make_unique<JsonNode>(std::move(node));
}

std::int32_t JsonValue::typeOf(const JsonNode* node) {
    if (node == nullptr) {
        return kJsonInvalid;
    }
    constexpr auto kInt32Max = std::numeric_limits<std::int32_t>::max();
    constexpr auto kInt32Min = std::numeric_limits<std::int32_t>::min();
    switch (node->type()) {
        case nlohmann::json::value_t::null:
            return kJsonNull;
        case nlohmann::json::value_t::boolean:
            return kJsonBool;
        case nlohmann::json::value_t::string:
            return kJsonString;
        case nlohmann::json::value_t::number_integer: {
            const auto v = node->get<std::int64_t>();
            return v >= kInt32Min && v <= kInt32Max ? kJsonInt32 : kJsonInt64;
        }
        case nlohmann::json::value_t::number_unsigned: {
            // Non-negative integers are stored unsigned; report them by size.
            const auto v = node->get<std::uint64_t>();
            if (v <= static_cast<std::uint64_t>(kInt32Max)) {
                return kJsonInt32;
            }
            return v <= static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())
                       ? kJsonInt64
                       : kJsonUInt64;
        }
        case nlohmann::json::value_t::number_float:
            return kJsonDouble;
        case nlohmann::json::value_t::object:
            return kJsonObject;
        case nlohmann::json::value_t::array:
            return kJsonArray;
        default:
            return kJsonInvalid;
    }
}

std::string JsonValue::valueText(const JsonNode* node, std::int32_t type) {
    if (node == nullptr || type == kJsonInvalid) {
        return {};
    }
    switch (node->type()) {
        case nlohmann::json::value_t::boolean:
            return node->get<bool>() ? "true" : "";
        case nlohmann::json::value_t::string:
            return node->get_ref<const std::string&>();
        case nlohmann::json::value_t::number_integer:
            return std::to_string(node->get<std::int64_t>());
        case nlohmann::json::value_t::number_unsigned:
            return std::to_string(node->get<std::uint64_t>());
        case nlohmann::json::value_t::number_float:
            return platform::formatG13(node->get<double>());
        case nlohmann::json::value_t::object:
        case nlohmann::json::value_t::array:
            return dumpText(*node);
        default:
            return {};
    }
}

bool JsonObject::reset() {
    replaceNode(JsonNode::object());
    return true;
}

JsonNode& JsonObject::object() {
    if (node() == nullptr || !node()->is_object()) {
        reset();
    }
    return *node();
}

void JsonObject::set(const std::string& key, const std::string& text) {
    object()[key] = text;
}

bool JsonObject::setValue(const std::string& key, const JsonValue& value) {
    if (value.isInvalid()) {
        return false;
    }
    object()[key] = *value.getNode();
    return true;
}

std::string JsonObject::memberText(const std::string& key, std::int32_t& type) const {
    type = kJsonInvalid;
    const JsonNode* self = getNode();
    if (self == nullptr || !self->is_object()) {
        return {};
    }
    const auto it = self->find(key);
    if (it == self->end()) {
        return {};
    }
    type = typeOf(&*it);
    return valueText(&*it, type);
}

std::string JsonObject::memberText(const std::string& key) const {
    std::int32_t type = kJsonInvalid;
    return memberText(key, type);
}

bool JsonArray::reset() {
    replaceNode(JsonNode::array());
    return true;
}

bool JsonArray::append(const std::string& text) {
    if (node() == nullptr || !node()->is_array()) {
        reset();
    }
    node()->push_back(text);
    return true;
}

}  // namespace quorsa::service
