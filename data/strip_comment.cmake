# Run by CPack on the staged files before it packs them: removes the
# compiler's .comment and the .note sections from the stripped program, as
# Debian's dh_strip does.
file(GLOB_RECURSE programs "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*/bin/swirlmote")
foreach(program IN LISTS programs)
  execute_process(COMMAND "${CPACK_SWIRLMOTE_STRIP}" --remove-section=.comment --remove-section=.note "${program}"
    COMMAND_ERROR_IS_FATAL ANY)
endforeach()
if(NOT programs)
  message(FATAL_ERROR "no program staged under ${CPACK_TEMPORARY_INSTALL_DIRECTORY}")
endif()
