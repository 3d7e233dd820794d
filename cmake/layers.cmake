# The layers and their arrows (docs/ARCHITECTURE.md), read both by the build
# and by scripts/check_layers.sh: KVN_LAYER_<folder> lists the folders whose
# headers <folder> may include, itself first.
set(KVN_LAYER_psychro psychro)
set(KVN_LAYER_engine engine psychro)
set(KVN_LAYER_common common engine psychro)
set(KVN_LAYER_files files common engine)
set(KVN_LAYER_exchange exchange files common engine)
set(KVN_LAYER_reports reports exchange files common engine psychro)
set(KVN_LAYER_forms forms reports exchange files common engine psychro)
set(KVN_LAYER_tools tools reports exchange files common engine psychro)
# The engine's public headers; every other engine header (engine/internal/
# and any header not listed) is the engine's own.
set(KVN_ENGINE_PUBLIC coil_type.h coilcalc.h hygrel_binding.h msgbox.h records.h rterror.h)

# Gives `target` of layer `layer` its include root, build/layers/<layer>/: a
# link to each folder the layer may include and, outside the engine, links
# to the engine's public headers alone. An include across a forbidden arrow
# (or of an engine internal) is then not found and fails to compile. The
# root is private: a target sees its own layer's root, never one it links.
function(kvn_layer_includes target layer)
  set(root ${CMAKE_BINARY_DIR}/layers/${layer})
  file(MAKE_DIRECTORY ${root})
  foreach(folder IN LISTS KVN_LAYER_${layer})
    if(folder STREQUAL "engine" AND NOT layer STREQUAL "engine")
      file(MAKE_DIRECTORY ${root}/engine)
      foreach(header IN LISTS KVN_ENGINE_PUBLIC)
        file(CREATE_LINK ${CMAKE_SOURCE_DIR}/engine/${header} ${root}/engine/${header} SYMBOLIC)
      endforeach()
    else()
      file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${folder} ${root}/${folder} SYMBOLIC)
    endif()
  endforeach()
  target_include_directories(${target} PRIVATE ${root})
endfunction()

# The layers without Qt compile with implicit narrowing and shadowed names
# as warnings too (errors under KVN_WERROR): a float narrowed by accident or
# a local hiding a record field changes a result without a trace. Signedness
# of sizes and indices stays quiet under clang (its tidy runs) as under g++.
function(kvn_strict_warnings target)
  target_compile_options(${target} PRIVATE -Wconversion -Wshadow -Wno-sign-conversion)
endfunction()
