# The staged program folder: the programs under the names their command lines use,
# beside the data files and the forms folder, as an installed suite has them.
set(QV_STAGE_DIR ${CMAKE_BINARY_DIR}/stage CACHE INTERNAL "staged program folder")

# Copies `target` into the program folder as `name` after each build.
function(qv_stage_program target name)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E make_directory ${QV_STAGE_DIR}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:${target}> ${QV_STAGE_DIR}/${name}
    VERBATIM)
endfunction()
