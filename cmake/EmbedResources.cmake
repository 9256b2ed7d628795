# The resource script is preprocessed as a resource compiler would (RC_INVOKED
# set, resource.h and the stand-in windows.h resolved) and embedded as the
# module's ".rsrc" section, where the stand-in loader finds it, as Windows
# finds a module's resources in its image.
set(MIROVA_EMBED_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/embed_section.cmake)

function(mirova_embed_resources target rc_file)
  file(GLOB win32_headers ${PROJECT_SOURCE_DIR}/headless/win32/include/*.h)
  set(pre ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc.i)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${target}_rsrc.cpp)
  get_filename_component(rc_dir ${rc_file} DIRECTORY)
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_C_COMPILER} -E -P -x c -DRC_INVOKED
            -I${PROJECT_SOURCE_DIR}/source -I${PROJECT_SOURCE_DIR}/headless/win32/include
            ${rc_file} -o ${pre}
    COMMAND ${CMAKE_COMMAND} -DIN=${pre} -DOUT=${out} -P ${MIROVA_EMBED_SCRIPT}
    DEPENDS ${rc_file} ${PROJECT_SOURCE_DIR}/source/resource.h ${win32_headers}
            ${MIROVA_EMBED_SCRIPT}
    COMMENT "Embedding resources of ${rc_file}")
  add_library(${target} OBJECT ${out})
endfunction()
