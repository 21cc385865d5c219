# Application object, loops, modal forms, forms, data modules and Screen (run under Wine).
mx_add_test(fw_win32_app_test WINDOWS_ONLY TIMEOUT 300
            SOURCES app_support_test.cpp app_loop_test.cpp app_modal_test.cpp app_form_test.cpp
            LIBS fw_win32)
if(TARGET fw_win32_app_test)
  mx_add_forms(fw_win32_app_test testdata/app_main.form testdata/app_dialog.form testdata/app_scaled.form
               testdata/app_fixed.form testdata/app_module.form testdata/app_broken.form
               testdata/app_visible.form)
endif()
