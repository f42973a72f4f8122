// The connect screen's logic: the pool box and key box contents, and the check of the two fields.
#include "ui/connect_screen.h"

#include <algorithm>
#include <iterator>
#include <string>

#include "profile/settings.h"
#include "util/utf.h"

namespace orelog {

namespace {

int indexOf(const std::vector<std::u16string>& entries, const std::u16string& entry) {
  const auto found = std::find(entries.begin(), entries.end(), entry);
  if (found == entries.end()) return -1;
  return static_cast<int>(std::distance(entries.begin(), found));
}

// A URL no pool of the directory has is offered first, so the field shows it as saved.
void putFirstAndSelect(ConnectControlsContent& content, const std::u16string& entry) {
  content.poolEntries.insert(content.poolEntries.begin(), entry);
  content.poolSelection = 0;
}

// What is used must be what is saved: the text fits its field, and its UTF-8 form is saved whole.
bool fitsConnectField(const std::u16string& text) {
  return text.size() <= kConnectFieldMaxUnits && utf16ToUtf8(text).size() <= kSavedTextMaxBytes;
}

}  // namespace

ConnectControlsContent connectControlsContent(const PlayerRecord& record) {
  ConnectControlsContent content;
  for (const auto& entry : record.poolDirectory) content.poolEntries.push_back(entry.first);
  if (record.serverUrl.empty()) {
    content.poolSelection = 0;
  } else if (const auto name = findPoolName(record.poolDirectory, record.serverUrl)) {
    content.poolSelection = indexOf(content.poolEntries, *name);
    if (content.poolSelection < 0) putFirstAndSelect(content, record.serverUrl);
  } else {
    putFirstAndSelect(content, record.serverUrl);
  }
  content.keyEntries = {record.apiKey};
  content.keySelection = 0;
  return content;
}

bool validateAndStoreConnectFields(Platform& platform, PlayerRecord& record) {
  // Each field is checked and stored in turn: a key refused after an accepted pool leaves the new
  // serverUrl in place (it is only saved once both are accepted).
  const std::u16string poolText = platform.connectFieldText(ConnectField::Pool);
  if (!fitsConnectField(poolText)) {
    platform.showMessage(kMessageServerUrlTooLong, MessageOwner::None);
    return false;
  }
  record.serverUrl = findPoolUrl(record.poolDirectory, poolText).value_or(poolText);
  const std::u16string keyText = platform.connectFieldText(ConnectField::ApiKey);
  if (!fitsConnectField(keyText)) {
    platform.showMessage(kMessageApiKeyTooLong, MessageOwner::None);
    return false;
  }
  record.apiKey = keyText;
  return true;
}

}  // namespace orelog
