# Empties and makes the home every test runs in (KORIMET_TEST_HOME): the folders a desktop
# session has, the runtime folder private to its owner as Qt wants it.
if(NOT KORIMET_TEST_HOME)
  message(FATAL_ERROR "test_home.cmake: KORIMET_TEST_HOME is the folder to make")
endif()
file(REMOVE_RECURSE ${KORIMET_TEST_HOME})
file(MAKE_DIRECTORY ${KORIMET_TEST_HOME}/.config ${KORIMET_TEST_HOME}/.local/share
  ${KORIMET_TEST_HOME}/.cache ${KORIMET_TEST_HOME}/runtime)
file(CHMOD ${KORIMET_TEST_HOME}/runtime DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
