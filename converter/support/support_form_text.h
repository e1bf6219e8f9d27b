// Filling the tech-support form template. Portable: no <windows.h>.
#pragma once
#include <cstddef>

constexpr const char kSupportFormStartLine[] = "------------ start info ------------";
constexpr const char kSupportFormEndLine[] = "------------- end info -------------";

// Everything the page shows besides the template's own markup.
struct SupportFormValues {
  const char* systemDescription;
  long screenWidth;
  long screenHeight;
  const char* productName;
  const char* version;
  const char* userEmail;
  const char* userName;
  const char* subject;
  const char* messageText;
  const char* bodyText;
};

// One value for a placeholder of the template: %c, %i or %s.
struct FormArgument {
  char kind;  // 'c', 'i' or 's'
  char character;
  long number;
  const char* text;
};

constexpr size_t kSupportFormArgumentCount = 18;

// Size of the mail-body buffer: the lengths of its parts plus 2048.
size_t SupportMailBodySize(const SupportFormValues& values);
// Formats the mail body (greeting, product, user name, body text). Its length.
int FormatSupportMailBody(const SupportFormValues& values, char* output, size_t size);

// The template's arguments in placeholder order; they point into `values` and `mailBody`.
void SupportFormArguments(const SupportFormValues& values, const char* mailBody,
                          FormArgument (&arguments)[kSupportFormArgumentCount]);

// Size of the page buffer: every inserted text at its escaped length, the
// template, plus 2048, so the filled page always fits.
size_t SupportFormPageSize(const SupportFormValues& values, const char* mailBody, size_t templateSize);

// The conversion letters of the template's placeholders, in order ("ccss...");
// an unsupported conversion appears as '?'. Returns the number of placeholders.
size_t TemplatePlaceholderKinds(const char* templateText, char* output, size_t size);

// Fills `templateText` with `arguments` into `output`; every text is
// HTML-escaped and "%%" gives a percent sign. The length written, or -1 when
// the placeholders do not match the arguments or the output is too small.
long FillTemplate(const char* templateText, const FormArgument* arguments, size_t count, char* output,
                  size_t size);

// Escapes &, <, > and " for HTML text and attribute values. Length of the
// escaped text (which may exceed what fitted into `output`).
size_t EscapeHtml(const char* text, char* output, size_t size);
size_t EscapedHtmlLength(const char* text);
