#include "core/Query.h"

#include <cctype>

namespace kelwelld {

namespace {

enum class TokenKind { Word, Operator, Parameter, Literal, End };

struct Token {
  TokenKind kind;
  std::string text;       // word, operator, parameter name (without ':'), literal value
  std::size_t position;   // 1-based offset in the clause
};

std::string lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

bool isWordChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.';
}

class Tokenizer {
public:
  explicit Tokenizer(const std::string& clause) : m_text(clause) {}

  [[noreturn]] void fail(const std::string& what, std::size_t position) const {
    throw QueryError("The where clause \"" + m_text + "\" was refused: " + what + " at position " +
                     std::to_string(position) + ". ");
  }

  Token next() {
    while (m_pos < m_text.size() && std::isspace(static_cast<unsigned char>(m_text[m_pos]))) ++m_pos;
    const std::size_t start = m_pos + 1;
    if (m_pos >= m_text.size()) return {TokenKind::End, "", start};
    const char c = m_text[m_pos];
    if (isWordChar(c)) {
      const std::size_t begin = m_pos;
      while (m_pos < m_text.size() && isWordChar(m_text[m_pos])) ++m_pos;
      return {TokenKind::Word, m_text.substr(begin, m_pos - begin), start};
    }
    if (c == ':') {
      const std::size_t begin = ++m_pos;
      while (m_pos < m_text.size() &&
             (std::isalnum(static_cast<unsigned char>(m_text[m_pos])) || m_text[m_pos] == '_'))
        ++m_pos;
      if (m_pos == begin) fail("a parameter name must follow ':'", start);
      return {TokenKind::Parameter, m_text.substr(begin, m_pos - begin), start};
    }
    if (c == '\'' || c == '"') {
      std::string value;
      ++m_pos;
      for (;;) {
        if (m_pos >= m_text.size()) fail("the quoted text is not closed", start);
        if (m_text[m_pos] == c) {
          if (m_pos + 1 < m_text.size() && m_text[m_pos + 1] == c) {
            value.push_back(c);
            m_pos += 2;
            continue;
          }
          ++m_pos;
          break;
        }
        value.push_back(m_text[m_pos++]);
      }
      return {TokenKind::Literal, value, start};
    }
    static const char* const operators[] = {"<=", ">=", "!=", "<>", "=", "<", ">"};
    for (const char* op : operators) {
      const std::string text(op);
      if (m_text.compare(m_pos, text.size(), text) == 0) {
        m_pos += text.size();
        return {TokenKind::Operator, text, start};
      }
    }
    fail(std::string("unexpected character '") + c + "'", start);
  }

private:
  const std::string& m_text;
  std::size_t m_pos = 0;
};

std::string knownPaths(const QuerySchema& schema) {
  std::string list;
  for (const auto& field : schema.fields)
    list += (list.empty() ? "" : ", ") + schema.entityType + "." + field.path;
  return list;
}

} // namespace

CompiledQuery compileWhere(const QuerySchema& schema, const std::string& clause,
                           const QueryParameters& parameters) {
  CompiledQuery result;
  Tokenizer tokens(clause);
  Token token = tokens.next();
  if (token.kind == TokenKind::End) return result;

  const std::string prefix = schema.entityType + ".";
  std::size_t conditions = 0;
  for (;;) {
    if (++conditions > maxQueryConditions)
      tokens.fail("more than " + std::to_string(maxQueryConditions) + " conditions", token.position);

    // <EntityType>.<path>
    if (token.kind != TokenKind::Word)
      tokens.fail("expected " + prefix + "<path>", token.position);
    if (token.text.compare(0, prefix.size(), prefix) != 0)
      tokens.fail("\"" + token.text + "\" does not start with " + prefix, token.position);
    const std::string path = token.text.substr(prefix.size());
    const QueryField* field = nullptr;
    for (const auto& candidate : schema.fields)
      if (candidate.path == path) field = &candidate;
    if (!field)
      tokens.fail("unknown path \"" + token.text + "\" (known: " + knownPaths(schema) + ")",
                  token.position);

    // operator
    token = tokens.next();
    std::string op;
    if (token.kind == TokenKind::Operator) {
      op = token.text == "<>" ? "!=" : token.text;
    } else if (token.kind == TokenKind::Word && lower(token.text) == "like") {
      op = "LIKE";
    } else {
      tokens.fail("expected an operator (=, !=, <, <=, >, >=, like)", token.position);
    }

    // operand
    token = tokens.next();
    if (token.kind == TokenKind::Parameter) {
      const std::string* value = nullptr;
      for (const auto& parameter : parameters) {
        const std::string& name = parameter.first;
        if (name == token.text || (name.size() > 1 && name[0] == ':' && name.compare(1, std::string::npos, token.text) == 0))
          value = &parameter.second;
      }
      if (!value) tokens.fail("the parameter :" + token.text + " has no value", token.position);
      result.values.push_back(*value);
    } else if (token.kind == TokenKind::Literal) {
      result.values.push_back(token.text);
    } else {
      tokens.fail("expected a :parameter or a quoted text", token.position);
    }

    if (!result.where.empty()) result.where += " AND ";
    result.where += "(" + field->sql + " " + op + " ?" + (op == "LIKE" ? " ESCAPE '\\')" : ")");

    token = tokens.next();
    if (token.kind == TokenKind::End) break;
    if (token.kind != TokenKind::Word || lower(token.text) != "and")
      tokens.fail("expected \"and\" or the end of the clause", token.position);
    token = tokens.next();
  }
  return result;
}

} // namespace kelwelld
