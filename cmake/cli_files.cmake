# The files made from the command table at build time: the bash completion
# and, where help2man is installed (Debian: help2man), the manual page,
# generated from the help an installed scenario_gen prints.
add_executable(make_cli_files tools/make_cli_files.cc)
scenario_sees(make_cli_files cli)
target_link_libraries(make_cli_files PRIVATE scenario_cli)

set(scenario_bash_completion ${PROJECT_BINARY_DIR}/generated/scenario_gen.bash-completion)
add_custom_command(OUTPUT ${scenario_bash_completion}
  COMMAND make_cli_files bash-completion ${scenario_bash_completion}
  DEPENDS make_cli_files
  COMMENT "Generating the bash completion"
  VERBATIM)
set(scenario_cli_outputs ${scenario_bash_completion})

find_program(HELP2MAN help2man)
set(scenario_man_page "")
if(HELP2MAN)
  set(scenario_man_page ${PROJECT_BINARY_DIR}/generated/scenario_gen.1)
  set(man_sections ${PROJECT_BINARY_DIR}/generated/man_sections.h2m)
  add_custom_command(OUTPUT ${scenario_man_page}
    COMMAND make_cli_files man-sections ${man_sections}
    COMMAND ${HELP2MAN} --no-info --section=1 --source=scenario_gen
      "--name=build and compile scenarios for a train-driving simulator"
      --include=${man_sections} --output=${scenario_man_page}
      $<TARGET_FILE:make_cli_files>
    DEPENDS make_cli_files
    COMMENT "Generating the manual page with help2man"
    VERBATIM)
  list(APPEND scenario_cli_outputs ${scenario_man_page})
else()
  message(STATUS "help2man not found: the manual page is skipped (Debian: help2man)")
endif()
add_custom_target(scenario_cli_files ALL DEPENDS ${scenario_cli_outputs})
