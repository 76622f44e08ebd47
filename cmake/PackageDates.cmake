# Run by CPack (CPACK_PRE_BUILD_SCRIPTS) between installing into its staging
# folder and packing it: every file and folder there is dated by the commit
# (or SOURCE_DATE_EPOCH), and CPack's own archives take the same date, so that
# the same commit gives the same package from any clone on any day.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(epoch "$ENV{SOURCE_DATE_EPOCH}")
else()
  execute_process(COMMAND git -C "${CPACK_TAIKAN_SOURCE_DIR}" log -1 --format=%ct
                  OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  if(NOT epoch MATCHES "^[0-9]+$")
    set(epoch 315532800)
  endif()
  set(ENV{SOURCE_DATE_EPOCH} "${epoch}")
endif()
find_program(TOUCH touch)
if(NOT TOUCH)
  message(WARNING "No touch: the package's files keep the dates of this build")
  return()
endif()
file(GLOB_RECURSE staged LIST_DIRECTORIES true "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*")
if(staged)
  execute_process(COMMAND "${TOUCH}" -h -d "@${epoch}" ${staged} COMMAND_ERROR_IS_FATAL ANY)
endif()
