/* QuillomCABI: the decision engine of Quillom behind a small C interface.
 *
 * Text is NUL-terminated UTF-8 in both directions. Strings returned by the
 * engine are owned by the caller and must be released with qm_free_string.
 * Output buffers (outTargetLang, outReason) belong to the caller; the engine
 * writes at most cap - 1 bytes and a NUL, and skips a buffer that is null or
 * whose capacity is 0 or less.
 *
 * All calls on one handle must come from one thread (the handle keeps a
 * per-application session state and holds no lock). Distinct handles share
 * nothing. No function throws or reports error codes: failure shows as a
 * null handle or a null returned string.
 */
#ifndef QUILLOM_H
#define QUILLOM_H

#include <stdint.h>

#if defined(_WIN32)
#if defined(QUILLOM_BUILDING_CABI)
#define QM_API __declspec(dllexport)
#else
#define QM_API __declspec(dllimport)
#endif
#else
#define QM_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef struct qm_engine qm_engine;

/* The longest word, in UTF-8 bytes, that the evaluations and
 * qm_engine_correct_word_before score. A longer token is kept at once with
 * the reason "input_too_long"; a longer previousWord or token gets an empty
 * answer from qm_engine_correct_word_before. */
#define QM_MAX_WORD_BYTES 1024

/* Creates an engine from the rules file and the user preferences file.
 * Returns null when the rules file cannot be read or is not a JSON object,
 * when its member "packed_lexicon" is there but is not an object with a plain
 * file name and an id, or when the lexicon it names cannot be read from the
 * rules file's folder as a regular file, is damaged (checksum or structure),
 * is over the size cap, or is not the one it names.
 * A missing or unreadable preferences file, or a null prefsPath, means
 * default preferences. */
QM_API qm_engine* qm_engine_create(const char* rulesPath, const char* prefsPath);

/* Destroys the engine; the handle must not be used afterwards. */
QM_API void qm_engine_destroy(qm_engine* handle);

/* Releases a string returned by this library; null is ignored. */
QM_API void qm_free_string(char* p);

/* Context-free evaluation of one finished word. Returns the corrected word
 * (an empty string when there is none) as an owned string, or null when the
 * allocation failed. */
QM_API char* qm_engine_evaluate(qm_engine* handle, const char* token, const char* appID, int32_t* outShouldCorrect,
                                double* outConfidence, char* outTargetLang, int32_t outTargetLangCap, char* outReason,
                                int32_t outReasonCap);

/* Evaluation of one finished word typed in application appID while the
 * layout of activeInputSource ("en", "ru", "uk"; null or empty: unknown) was
 * active. hasUnknownBeginning is non-zero when the start of the word was not
 * seen. Keeps the per-application session language. A word kept as typed
 * with the reason "layout_follows_language" belongs to the language written
 * into outTargetLang, whose layout gives the same text (где typed on the
 * Ukrainian layout is Russian): the caller switches the layout to that
 * language and retypes nothing. A word typed on a layout of another script
 * than the word before it, kept as typed in the same application, was typed
 * so by a user who changed the layout by hand: when the rules ask for it, it
 * is kept with the reason "script_switched_by_user" unless it reads as a
 * listed word of four letters or more. */
QM_API char* qm_engine_evaluate_context(qm_engine* handle, const char* token, const char* appID,
                                        const char* activeInputSource, int32_t hasUnknownBeginning,
                                        int32_t* outShouldCorrect, double* outConfidence, char* outTargetLang,
                                        int32_t outTargetLangCap, char* outReason, int32_t outReasonCap);

/* Forgets the session language and the words just typed. Which language of
 * each script the user has lately written mostly, in any application, is
 * kept: that language is weighed first among the languages of its script,
 * and it settles a word that reads alike in two of them at the start of the
 * next text. */
QM_API void qm_engine_reset_context(qm_engine* handle);

/* Converts selected text to the other layout, choosing the direction.
 * activeInputSource is accepted and not used. Returns an owned string. */
QM_API char* qm_engine_convert_selection(qm_engine* handle, const char* text, const char* activeInputSource,
                                         char* outTargetLang, int32_t outTargetLangCap);

/* Converts selected text to the layout of language target ("en", "ru",
 * "uk"). Returns an owned string. */
QM_API char* qm_engine_convert_selection_to(qm_engine* handle, const char* text, const char* target,
                                            char* outTargetLang, int32_t outTargetLangCap);

/* Called after qm_engine_evaluate_context corrected token (the word as
 * typed) into language target ("en", "ru", "uk"), or kept it with the reason
 * "layout_follows_language" and target the language it wrote: previousWord
 * is the word typed just before it, with one space and nothing else between,
 * as typed. When the engine corrected previousWord itself, at the call of
 * qm_engine_evaluate_context just before that of token, into another
 * language of target's script ("Cyfhzls" into Снаряді), and token counts for
 * target among the last words (a correction that had to guess between the
 * two languages does not; only while the rules weigh language evidence),
 * the previous word is read again: the answer is
 * its keys read in target when that is a word of target whose reading in
 * the first language is not far more frequent (Снаряды), or any reading
 * when the correction was no listed word either, else an empty string.
 * A correction that guessed between the two languages (its keys read as a
 * word of both, or as the same text, or as a listed word of neither) stays
 * open longer: previousWord may then be that correction as typed followed
 * by up to three words typed after it, each after one space, each kept as
 * typed on the layout the correction switched to without confirming its
 * language ("Cyfhzls с" before "передней"); the answer is all of them read
 * again, one space between: the correction as above, and each word after it
 * as its keys read in target (взрівается is взрывается), or as typed when
 * it is a word of the first language that reads as no word of target, or
 * when the keys read the same (с); an empty string when nothing would
 * change. The caller replaces the previous correction as it stands, the
 * words after it, the space and token in one step, so that one undo
 * restores all words as typed, and switches the layout to target. For a
 * kept token only this reading is asked for. Otherwise, for a word not
 * corrected itself, returns
 * an owned string: the previous word as it reads in target when it is to be
 * corrected together with token ("d" before "ujhjl",
 * corrected to город, reads "в"; words of one or two letters, typed on the
 * same layout, that are words of target; one or two keys that give marks
 * on the layout typed on and spell a word of target there, "][" before a
 * word corrected to Ukrainian reads "їх", "'" reads "є" (a bracket or full
 * stop alone stays); such a word ended by a punctuation key, with that
 * key's mark in target, "b?" reads "и,"; a lone quote key, "Э" before an
 * English word reads '"'; a number whose marks the target layout has as full
 * stops or commas, "5/" reads "5."; a word kept for want of context whose
 * reading in target is a far more frequent word, "Еру" at the start of a
 * text before an English word reads "The", unless the last words typed in
 * the application count another language ahead of target), or an empty
 * string to leave it; null when the allocation failed. The caller replaces
 * both words in one step, so that one undo restores both, and may ask again
 * for the word before that, with the same token. Reads the session state and
 * does not change it. */
QM_API char* qm_engine_correct_word_before(qm_engine* handle, const char* previousWord, const char* token,
                                           const char* target);

#ifdef __cplusplus
}
#endif

#endif
