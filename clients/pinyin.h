#pragma once
// The pinyin of a client's name, for finding her in the client list by typing Latin letters: the
// initials ("林晓雯" → "lxw") and the full reading ("lin xiao wen"). Readings come from ICU's
// Han-Latin transliteration, without tone marks.

#include <QString>

namespace nc::clients {

// The first letter of each Chinese character's reading, with Latin letters and digits kept whole in
// lower case ("王 Anna" → "wanna", "李2号" → "l2h"); spaces, punctuation and characters without a
// reading (emoji, other scripts) are dropped. Empty for an empty name.
QString pinyinInitials(const QString& name);

// The reading of each Chinese character and each run of Latin letters and digits, in lower case,
// separated by single spaces ("林晓雯" → "lin xiao wen", "王 Anna" → "wang anna"). Same drops as
// pinyinInitials.
QString pinyinFull(const QString& name);

// Opens ICU's transliterator now, if not yet open. Opening it takes 150–200 ms once per process; a
// window calls this while it opens, so the first name read as the counsellor types does not wait.
// Reading a name opens it anyway.
void preparePinyin();

} // namespace nc::clients
