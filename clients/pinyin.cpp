#include "pinyin.h"

#include <QHash>
#include <QMutex>
#include <QStringList>

#include <unicode/utrans.h>

#include <memory>

namespace nc::clients {

namespace {

// One transliterator for the process: opening it reads ICU's rule data and takes tens of
// milliseconds, so it is made on first use and kept. The readings of single characters are kept too,
// since a list of clients repeats the same surnames and given-name characters over and over.
//
// Each character is read on its own, so a character with several readings gets ICU's usual one:
// 曾 reads "ceng" (not the surname's "zeng"), 单 "dan" (not "shan"), 仇 "chou" (not "qiu"). A
// counsellor who types the other initials still finds her by the Chinese name.
class Reader {
public:
    // The reading of one character in lower-case ASCII letters and digits, or "" when there is none.
    QString read(char32_t c) {
        if (c < 0x80) {
            const QChar ch{char16_t(c)};
            return ch.isLetterOrNumber() ? QString(ch.toLower()) : QString();
        }
        QMutexLocker lock(&mutex_);
        const auto known = cache_.constFind(c);
        if (known != cache_.cend())
            return *known;
        QString reading = transliterate(c);
        cache_.insert(c, reading);
        return reading;
    }

    void prepare() {
        QMutexLocker lock(&mutex_);
        transliterator();
    }

private:
    struct Closer {
        void operator()(UTransliterator* t) const { utrans_close(t); }
    };

    UTransliterator* transliterator() {
        if (!opened_) {
            opened_ = true;
            static const char16_t id[] = u"Han-Latin; Latin-ASCII";
            UErrorCode status = U_ZERO_ERROR;
            UTransliterator* t = utrans_openU(id, -1, UTRANS_FORWARD, nullptr, 0, nullptr, &status);
            if (U_SUCCESS(status))
                trans_.reset(t);
            else if (t)
                utrans_close(t);
        }
        return trans_.get();
    }

    QString transliterate(char32_t c) {
        UTransliterator* t = transliterator();
        if (!t)
            return {};
        char16_t buffer[64] = {};
        int32_t length = 0;
        if (QChar::requiresSurrogates(c)) {
            buffer[length++] = QChar::highSurrogate(c);
            buffer[length++] = QChar::lowSurrogate(c);
        } else {
            buffer[length++] = char16_t(c);
        }
        int32_t limit = length;
        UErrorCode status = U_ZERO_ERROR;
        utrans_transUChars(t, buffer, &length, int32_t(std::size(buffer)) - 1, 0, &limit, &status);
        if (U_FAILURE(status))
            return {};
        // Only what became plain letters and digits counts; a character ICU leaves as it was (no
        // reading) yields nothing and is dropped.
        QString reading;
        for (int32_t i = 0; i < length; ++i) {
            const char16_t u = buffer[i];
            if (u < 0x80 && QChar(u).isLetterOrNumber())
                reading += QChar(u).toLower();
        }
        return reading;
    }

    QMutex mutex_;
    bool opened_ = false;
    std::unique_ptr<UTransliterator, Closer> trans_;
    QHash<char32_t, QString> cache_;
};

Reader& reader() {
    static Reader r;
    return r;
}

bool isHan(char32_t c) {
    return QChar::script(c) == QChar::Script_Han;
}

// The name as words: each Chinese character its own word, each run of other letters and digits one
// word (fullwidth Ａ and é read as a and e by Latin-ASCII).
QStringList words(const QString& name) {
    QStringList out;
    QString latin;
    auto endLatin = [&] {
        if (!latin.isEmpty())
            out << latin;
        latin.clear();
    };
    Reader& r = reader();
    for (const char32_t c : name.toUcs4()) {
        const QString reading = r.read(c);
        if (isHan(c)) {
            endLatin();
            if (!reading.isEmpty())
                out << reading;
        } else if (reading.isEmpty()) {
            endLatin();
        } else {
            latin += reading;
        }
    }
    endLatin();
    return out;
}

} // namespace

void preparePinyin() {
    reader().prepare();
}

QString pinyinInitials(const QString& name) {
    QString out;
    Reader& r = reader();
    for (const char32_t c : name.toUcs4()) {
        const QString reading = r.read(c);
        out += isHan(c) ? reading.left(1) : reading;
    }
    return out;
}

QString pinyinFull(const QString& name) {
    return words(name).join(QLatin1Char(' '));
}

} // namespace nc::clients
