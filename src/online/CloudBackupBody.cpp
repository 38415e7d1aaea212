#include "online/CloudBackupBody.h"

#include "i18n/TextEncoding.h"
#include "model/JsonValue.h"

namespace cadrels {
namespace {

void AppendMember(std::string& body, std::string_view key, std::string_view utf8Value)
{
    body += '"';
    body += key;
    body += "\":\"";
    body += EscapeCloudValue(utf8Value);
    body += '"';
}

std::wstring StringMember(const JsonValue& root, std::string_view key)
{
    const JsonValue* value = root.Find(key);
    return value != nullptr && value->IsString() ? Utf8ToWide(value->StringOr("")) : std::wstring();
}

}  // namespace

std::string EscapeCloudValue(std::string_view utf8)
{
    std::string escaped;
    escaped.reserve(utf8.size() + utf8.size() / 16);
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            escaped += '\\';
            escaped += c;
        } else if (c == '\n') {
            escaped += "\\n";
        } else if (c == '\r') {
            escaped += "\\r";
        } else if (byte >= 0x20) {
            escaped += c;
        }
    }
    return escaped;
}

std::string CloudBackupBody(std::wstring_view code, std::wstring_view machineId, std::wstring_view name,
                            std::wstring_view created, std::string_view data)
{
    std::string body = "{";
    AppendMember(body, "code", WideToUtf8(code));
    body += ',';
    AppendMember(body, "machineId", WideToUtf8(machineId));
    body += ',';
    AppendMember(body, "name", WideToUtf8(name));
    body += ',';
    AppendMember(body, "created", WideToUtf8(created));
    body += ',';
    AppendMember(body, "data", data);
    body += '}';
    return body;
}

bool CloudBackupAccepted(std::string_view response)
{
    JsonValue root;
    if (!ParseJson(response, root) || !root.IsObject()) {
        return false;
    }
    const JsonValue* ok = root.Find("ok");
    return ok != nullptr && ok->BoolOr(false);
}

OnlineAccount ReadOnlineAccount(std::string_view bytes)
{
    JsonValue root;
    if (!ParseJson(bytes, root) || !root.IsObject()) {
        return {};
    }
    return {StringMember(root, "code"), StringMember(root, "machineId")};
}

std::string OnlineAccountText(const OnlineAccount& account)
{
    JsonValue root = JsonValue::MakeObject();
    root.Append("code", WideToUtf8(account.code));
    root.Append("machineId", WideToUtf8(account.machineId));
    return SerializeJson(root, 2);
}

}  // namespace cadrels
