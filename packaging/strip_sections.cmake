# Run by cpack on the staged packages, after CPACK_STRIP_FILES: the compiler's .comment and
# the .note sections that a plain strip keeps and dh_strip drops, for lintian.
file(GLOB_RECURSE staged LIST_DIRECTORIES false "${CPACK_TEMPORARY_DIRECTORY}/*")
foreach(file ${staged})
  file(READ ${file} magic LIMIT 4 HEX)
  if(magic STREQUAL "7f454c46" AND NOT IS_SYMLINK ${file})
    execute_process(COMMAND ${CPACK_KORIMET_STRIP} --remove-section=.comment
      --remove-section=.note ${file} COMMAND_ERROR_IS_FATAL ANY)
  endif()
endforeach()
