# One CMake target per module folder. A module sees the public headers of the
# modules it declares (and of theirs), its own internal headers, and only the
# "sibling" internal headers that a module it declares directly offers.
# Anything else does not resolve, so an upward or undeclared include fails to
# build. See docs/architecture.md for the layer order.
#
# Its layer comes from ZARN_LAYERS in the top-level CMakeLists.txt; every module
# it uses must lie on a lower layer, and every sibling header must exist.
#
#   zarn_module(<name>
#     PUBLIC_HEADERS <headers under include/zarnutils>
#     USES <modules below it>
#     SIBLINGS <internal headers of this folder that its users may include>
#     [SOURCES <extra sources, e.g. generated>])

set(ZARN_LAYER_DIR ${PROJECT_BINARY_DIR}/layers)
set(ZARN_MODULES "" CACHE INTERNAL "modules in the order they were declared")

function(zarn_link_stage target link)
  get_filename_component(dir ${link} DIRECTORY)
  file(MAKE_DIRECTORY ${dir})
  if(NOT IS_SYMLINK ${link})
    file(CREATE_LINK ${target} ${link} SYMBOLIC)
  endif()
endfunction()

function(zarn_module name)
  cmake_parse_arguments(M "" "" "PUBLIC_HEADERS;USES;SIBLINGS;SOURCES" ${ARGN})
  set(here ${CMAKE_CURRENT_SOURCE_DIR})
  set(stage ${ZARN_LAYER_DIR}/${name})
  get_property(layer GLOBAL PROPERTY ZARN_LAYER_${name})
  if(layer STREQUAL "")
    message(FATAL_ERROR "module ${name} has no layer in ZARN_LAYERS")
  endif()
  foreach(dep ${M_USES})
    if(NOT TARGET zarn_${dep})
      message(FATAL_ERROR "module ${name} uses ${dep}, which is not declared below it")
    endif()
    get_property(dep_layer GLOBAL PROPERTY ZARN_LAYER_${dep})
    if(NOT dep_layer LESS layer)
      message(FATAL_ERROR "module ${name} (layer ${layer}) uses ${dep} (layer ${dep_layer}): "
                          "a module uses only lower layers")
    endif()
  endforeach()
  foreach(h ${M_SIBLINGS})
    if(NOT EXISTS ${here}/${h})
      message(FATAL_ERROR "module ${name}: no sibling header ${h} in ${here}")
    endif()
  endforeach()

  # Staged views: pub/zarnutils/<h> (public), own/<name> (this folder),
  # sib/<name>/<h> (what neighbours may include).
  file(REMOVE_RECURSE ${stage})
  file(MAKE_DIRECTORY ${stage}/pub/zarnutils ${stage}/sib/${name})
  foreach(h ${M_PUBLIC_HEADERS})
    if(NOT EXISTS ${PROJECT_SOURCE_DIR}/include/zarnutils/${h})
      message(FATAL_ERROR "module ${name}: no public header ${h}")
    endif()
    zarn_link_stage(${PROJECT_SOURCE_DIR}/include/zarnutils/${h} ${stage}/pub/zarnutils/${h})
  endforeach()
  zarn_link_stage(${here} ${stage}/own/${name})
  foreach(h ${M_SIBLINGS})
    zarn_link_stage(${here}/${h} ${stage}/sib/${name}/${h})
  endforeach()

  file(MAKE_DIRECTORY ${PROJECT_BINARY_DIR}/generated/${name})
  file(GLOB srcs CONFIGURE_DEPENDS ${here}/*.cpp ${here}/*.c ${here}/*.f90)
  add_library(zarn_${name} OBJECT ${srcs} ${M_SOURCES})
  set_target_properties(zarn_${name} PROPERTIES
    POSITION_INDEPENDENT_CODE ON
    C_VISIBILITY_PRESET hidden
    CXX_VISIBILITY_PRESET hidden
    Fortran_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON
    Fortran_MODULE_DIRECTORY ${PROJECT_BINARY_DIR}/fmod/${name})
  target_include_directories(zarn_${name}
    PUBLIC $<BUILD_INTERFACE:${stage}/pub>
    PRIVATE ${stage}/own ${PROJECT_BINARY_DIR}/generated/${name})
  foreach(dep ${M_USES})
    target_link_libraries(zarn_${name} PUBLIC zarn_${dep})
    target_include_directories(zarn_${name} PRIVATE ${ZARN_LAYER_DIR}/${dep}/sib)
  endforeach()
  target_compile_definitions(zarn_${name} PRIVATE ZARN_BUILDING
    ZARN_VERSION_MAJOR="${PROJECT_VERSION_MAJOR}"
    ZARN_VERSION_MINOR=${PROJECT_VERSION_MINOR}
    ZARN_VERSION_PATCH="${PROJECT_VERSION_PATCH}")
  target_compile_options(zarn_${name} PRIVATE ${ZARN_WARNINGS} ${ZARN_LIBRARY_FLAGS})
  set(ZARN_MODULES ${ZARN_MODULES} ${name} CACHE INTERNAL "")
endfunction()
