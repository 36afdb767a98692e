; The setup's own texts in its three languages (the pages come from MUI2).

LangString StartQuillom ${LANG_ENGLISH} "Start Quillom"
LangString StartQuillom ${LANG_UKRAINIAN} "Запустити Quillom"
LangString StartQuillom ${LANG_RUSSIAN} "Запустить Quillom"

LangString ClosingQuillom ${LANG_ENGLISH} "Closing the running Quillom..."
LangString ClosingQuillom ${LANG_UKRAINIAN} "Закриття запущеного Quillom..."
LangString ClosingQuillom ${LANG_RUSSIAN} "Закрытие запущенного Quillom..."

LangString QuillomStillRunning ${LANG_ENGLISH} "Quillom is still running and could not be closed.$\r$\nQuit it from its tray menu, then press Retry."
LangString QuillomStillRunning ${LANG_UKRAINIAN} "Quillom досі працює, і його не вдалося закрити.$\r$\nВийдіть із нього через меню в треї та натисніть «Повторити»."
LangString QuillomStillRunning ${LANG_RUSSIAN} "Quillom всё ещё работает, и его не удалось закрыть.$\r$\nВыйдите из него через меню в трее и нажмите «Повтор»."

LangString DeleteSettings ${LANG_ENGLISH} "Also delete your Quillom settings and personal dictionary?$\r$\n($LOCALAPPDATA\Quillom)"
LangString DeleteSettings ${LANG_UKRAINIAN} "Видалити також налаштування Quillom і особистий словник?$\r$\n($LOCALAPPDATA\Quillom)"
LangString DeleteSettings ${LANG_RUSSIAN} "Удалить также настройки Quillom и личный словарь?$\r$\n($LOCALAPPDATA\Quillom)"
