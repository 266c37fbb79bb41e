# Fails when a catalogue of po/LINGUAS lacks a text of the template
# po/pavok.pot (or leaves one untranslated or fuzzy), or when the template
# lacks a text that a catalogue translates. Run by ctest with MSGCMP and PO_DIR.
file(STRINGS ${PO_DIR}/LINGUAS languages REGEX "^[a-z]")
set(failed FALSE)
foreach(language IN LISTS languages)
  execute_process(COMMAND ${MSGCMP} ${PO_DIR}/${language}.po ${PO_DIR}/pavok.pot RESULT_VARIABLE lacks)
  execute_process(COMMAND ${MSGCMP} --use-untranslated ${PO_DIR}/pavok.pot ${PO_DIR}/${language}.po
                  RESULT_VARIABLE extra)
  if(NOT lacks EQUAL 0 OR NOT extra EQUAL 0)
    message(SEND_ERROR "po/${language}.po and po/pavok.pot do not hold the same texts")
    set(failed TRUE)
  endif()
endforeach()
if(failed)
  message(FATAL_ERROR "Bring the catalogues up to the template (see README, Translations).")
endif()
