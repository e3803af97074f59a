# Read by cpack before it packs: without SOURCE_DATE_EPOCH, the time of the source's last
# commit stamps the packages' files, as it dates the man pages, so that two builds of one
# commit give the same packages.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  execute_process(COMMAND git -C ${CPACK_KORIMET_SOURCE_DIR} log -1 --format=%ct
    OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET RESULT_VARIABLE failed)
  if(NOT failed AND epoch)
    set(ENV{SOURCE_DATE_EPOCH} ${epoch})
  endif()
endif()
