#include "converter/support/support_form_text.h"

#include <cstdio>
#include <cstring>

namespace {

size_t Length(const char* text) { return text != nullptr ? strlen(text) : 0; }
const char* Text(const char* text) { return text != nullptr ? text : ""; }

const char* EntityFor(char c) {
  switch (c) {
    case '&': return "&amp;";
    case '<': return "&lt;";
    case '>': return "&gt;";
    case '"': return "&quot;";
    default: return nullptr;
  }
}

// Appends `text` at `*used` if it fits with the terminator; false when not.
bool Append(char* output, size_t size, size_t* used, const char* text, size_t length) {
  if (*used + length >= size) return false;
  memcpy(output + *used, text, length);
  *used += length;
  output[*used] = '\0';
  return true;
}

FormArgument TextArgument(const char* text) { return FormArgument{'s', 0, 0, Text(text)}; }
FormArgument NumberArgument(long number) { return FormArgument{'i', 0, number, nullptr}; }
FormArgument PercentArgument() { return FormArgument{'c', '%', 0, nullptr}; }

}  // namespace

size_t EscapedHtmlLength(const char* text) {
  size_t length = 0;
  for (const char* p = Text(text); *p != '\0'; ++p) {
    const char* entity = EntityFor(*p);
    length += entity != nullptr ? strlen(entity) : 1;
  }
  return length;
}

size_t EscapeHtml(const char* text, char* output, size_t size) {
  size_t used = 0;
  if (output != nullptr && size > 0) output[0] = '\0';
  if (output != nullptr && size > 0) {
    // Stops at the first piece that does not fit, so the output is never a text with holes.
    for (const char* p = Text(text); *p != '\0'; ++p) {
      const char* entity = EntityFor(*p);
      bool fitted = entity != nullptr ? Append(output, size, &used, entity, strlen(entity))
                                      : Append(output, size, &used, p, 1);
      if (!fitted) break;
    }
  }
  return EscapedHtmlLength(text);
}

size_t SupportMailBodySize(const SupportFormValues& values) {
  return Length(values.userName) + Length(values.version) + Length(values.productName) + Length(values.bodyText) +
         2048;
}

int FormatSupportMailBody(const SupportFormValues& values, char* output, size_t size) {
  return snprintf(output, size, "Hello Vendrel/Quorin,\r\n\r\nI am running [%s, %s]. My Username is [%s].\r\n\r\n%s\r\n",
                  Text(values.productName), Text(values.version), Text(values.userName), Text(values.bodyText));
}

void SupportFormArguments(const SupportFormValues& values, const char* mailBody,
                          FormArgument (&arguments)[kSupportFormArgumentCount]) {
  const FormArgument list[kSupportFormArgumentCount] = {
      PercentArgument(),  // the two tables' width of 100 per cent
      PercentArgument(),
      // The information block.
      TextArgument(kSupportFormStartLine),
      TextArgument(values.systemDescription),
      NumberArgument(values.screenWidth),
      NumberArgument(values.screenHeight),
      TextArgument(values.productName),
      TextArgument(values.version),
      TextArgument(values.userEmail),
      TextArgument(values.userName),
      TextArgument(values.subject),
      TextArgument(values.messageText),
      TextArgument(kSupportFormEndLine),
      // The visible fields.
      TextArgument(values.userName),
      TextArgument(values.userEmail),
      TextArgument(values.subject),
      PercentArgument(),  // the text area's width
      TextArgument(mailBody),
  };
  for (size_t i = 0; i < kSupportFormArgumentCount; ++i) arguments[i] = list[i];
}

size_t SupportFormPageSize(const SupportFormValues& values, const char* mailBody, size_t templateSize) {
  // Name, address and subject appear twice: in the information block and in their fields.
  return EscapedHtmlLength(mailBody) + 2 * EscapedHtmlLength(values.subject) + EscapedHtmlLength(values.messageText) +
         2 * EscapedHtmlLength(values.userEmail) + EscapedHtmlLength(values.systemDescription) +
         2 * EscapedHtmlLength(values.userName) + EscapedHtmlLength(values.version) +
         EscapedHtmlLength(values.productName) + strlen(kSupportFormStartLine) + strlen(kSupportFormEndLine) +
         templateSize + 2048;
}

size_t TemplatePlaceholderKinds(const char* templateText, char* output, size_t size) {
  size_t count = 0;
  if (output != nullptr && size > 0) output[0] = '\0';
  for (const char* p = Text(templateText); *p != '\0'; ++p) {
    if (*p != '%') continue;
    ++p;
    if (*p == '%') continue;
    char kind = (*p == 'c' || *p == 'i' || *p == 's') ? *p : '?';
    if (output != nullptr && count + 1 < size) {
      output[count] = kind;
      output[count + 1] = '\0';
    }
    ++count;
    if (*p == '\0') break;
  }
  return count;
}

long FillTemplate(const char* templateText, const FormArgument* arguments, size_t count, char* output,
                  size_t size) {
  if (templateText == nullptr || output == nullptr || size == 0) return -1;
  output[0] = '\0';
  size_t used = 0;
  size_t next = 0;
  for (const char* p = templateText; *p != '\0'; ++p) {
    if (*p != '%') {
      if (!Append(output, size, &used, p, 1)) return -1;
      continue;
    }
    ++p;
    if (*p == '%') {
      if (!Append(output, size, &used, p, 1)) return -1;
      continue;
    }
    if (next >= count || arguments[next].kind != *p) return -1;
    const FormArgument& argument = arguments[next++];
    char piece[32];
    const char* text = piece;
    if (argument.kind == 'c') {
      piece[0] = argument.character;
      piece[1] = '\0';
    } else if (argument.kind == 'i') {
      snprintf(piece, sizeof(piece), "%ld", argument.number);
    } else {
      text = Text(argument.text);
    }
    for (const char* t = text; *t != '\0'; ++t) {
      const char* entity = EntityFor(*t);
      bool fitted = entity != nullptr ? Append(output, size, &used, entity, strlen(entity))
                                      : Append(output, size, &used, t, 1);
      if (!fitted) return -1;
    }
  }
  if (next != count) return -1;
  return static_cast<long>(used);
}
