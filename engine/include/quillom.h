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
 * seen. Keeps the per-application session state (engine/README.md). With the
 * reason "layout_follows_language" the word is kept and outTargetLang names
 * the language whose layout the caller switches to, retyping nothing. */
QM_API char* qm_engine_evaluate_context(qm_engine* handle, const char* token, const char* appID,
                                        const char* activeInputSource, int32_t hasUnknownBeginning,
                                        int32_t* outShouldCorrect, double* outConfidence, char* outTargetLang,
                                        int32_t outTargetLangCap, char* outReason, int32_t outReasonCap);

/* qm_engine_evaluate_context for a word typed in running text, where the
 * engine also remembers the last words. between is what was typed since the
 * word given here last ended: the key that ended it, then any spaces and
 * dashes typed alone between single spaces (" ", "? ", " - "), as typed;
 * null or empty when that is not known or held anything else (Enter, an
 * arrow, another mark on its own, a word not given here); a longer one than
 * QM_MAX_WORD_BYTES counts as unknown. Each such dash is a piece of its own.
 * *outPiecesBefore receives how many pieces before the word, between single
 * spaces as they stand on screen, go with it, and *outBefore (owned; null
 * when there are none) their new text, one space between: the caller
 * replaces them, the spaces and the word in one step, so that one undo
 * restores all. A word kept with the reason "layout_follows_language" may
 * come with pieces too; it then stays as typed. Which words go along:
 * engine/README.md. */
QM_API char* qm_engine_evaluate_in_text(qm_engine* handle, const char* token, const char* appID,
                                        const char* activeInputSource, int32_t hasUnknownBeginning, const char* between,
                                        int32_t* outShouldCorrect, double* outConfidence, char* outTargetLang,
                                        int32_t outTargetLangCap, char* outReason, int32_t outReasonCap,
                                        int32_t* outPiecesBefore, char** outBefore);

/* Forgets the session language and the words just typed; which language of
 * each script the user has lately written mostly is kept. */
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
 * typed) into language target, or kept it with the reason
 * "layout_follows_language" and target the language it wrote. previousWord
 * is what was typed just before token, one space between, as it stands on
 * screen. Returns an owned string: what previousWord should read in target
 * (the caller replaces it, the space and token in one step, so that one undo
 * restores all, and may ask again for the word before), an empty string to
 * leave it, or null when the allocation failed. Reads the session state and
 * does not change it. Which words are read again: engine/README.md. */
QM_API char* qm_engine_correct_word_before(qm_engine* handle, const char* previousWord, const char* token,
                                           const char* target);

#ifdef __cplusplus
}
#endif

#endif
