# Compiler settings shared by every target of the project.

# Warnings for our own targets: call varnu_target_defaults(<target>).
function(varnu_target_defaults target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
endfunction()

if(VARNU_SCALAR_ONLY)
  add_compile_definitions(VARNU_SCALAR_ONLY MTZDQ_SCALAR_ONLY)
endif()

if(VARNU_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
if(VARNU_SANITIZE_THREADS)
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()

# Visibility attribute of exported symbols (every other symbol is hidden).
set(VARNU_EXPORT_ATTRIBUTE "__attribute__((visibility(\"default\")))")
