#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include <nlohmann/json_fwd.hpp>

// JSON values of the service client over nlohmann/json. Texts are UTF-8; no
// exception leaves these classes.
namespace quorsa::service {

using JsonNode = nlohmann::ordered_json;

// Node type codes as the answers are read by.
enum JsonType : std::int32_t {
    kJsonInvalid = -1,
    kJsonNull = 0,
    kJsonBool = 1,
    kJsonString = 2,
    kJsonInt32 = 3,
    kJsonDouble = 4,
    kJsonInt64 = 5,
    kJsonObject = 6,
    kJsonArray = 7,
    kJsonUInt32 = 8,
    kJsonUInt64 = 9,
};

class JsonValue {
public:
    JsonValue();
    JsonValue(const JsonValue& other);
    JsonValue& operator=(const JsonValue& other);
    JsonValue(JsonValue&&) noexcept;
    JsonValue& operator=(JsonValue&&) noexcept;
    virtual ~JsonValue();

    // A new, empty node (an empty object or array, by class).
    virtual bool reset();
    // False unless `text` is one JSON document in valid UTF-8; the value then
    // holds no node.
    bool parse(std::string_view text);
    const JsonNode* getNode() const { return m_node.get(); }
    // "" when the value holds no valid node.
    std::string toText() const;
    void freeNode();
    bool isInvalid() const { return !isValidNode(m_node.get()); }

    static std::int32_t typeOf(const JsonNode* node);
    static bool isValidNode(const JsonNode* node) { return typeOf(node) != kJsonInvalid; }
    // The one rule by which a member is read as text.
    static std::string valueText(const JsonNode* node, std::int32_t type);

protected:
    JsonNode* node() { return m_node.get(); }
    void replaceNode(JsonNode node);

private:
    std::unique_ptr<JsonNode> m_node;
};

class JsonObject : public JsonValue {
public:
    bool reset() override;
    // Adds (or replaces) the member `key` as a JSON string.
    void set(const std::string& key, const std::string& text);
    // Adds the member `key` holding a copy of `value`'s content.
    bool setValue(const std::string& key, const JsonValue& value);
    // `type` gets the member's type code, -1 when there is no such member.
    std::string memberText(const std::string& key, std::int32_t& type) const;
    std::string memberText(const std::string& key) const;

private:
    JsonNode& object();
};

class JsonArray : public JsonValue {
public:
    bool reset() override;
    bool append(const std::string& text);
};

// The answer envelope {"errcode", "msg", "data"}.
class ServiceAnswer : public JsonObject {
public:
    std::string message() const { return memberText("msg"); }
    std::string errorCode() const { return memberText("errcode"); }
};

}  // namespace quorsa::service
