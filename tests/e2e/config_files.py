"""tenmark.ini as the tests write and expect it: the default options and bindings."""
from wine_session import windows_path

SCREEN_HEIGHT = 768

OPTION_KEYS = ['s_save_dir', 'n_canvas_x', 'n_canvas_y', 'n_back_color', 'n_pen_color',
               'n_save_img', 'n_save_type', 'n_alpha', 'n_set_alpha', 'n_pen_size',
               'n_erase_size', 'n_clnt_color', 'b_ClientDef', 'n_xpos', 'n_ypos', 'n_xsize',
               'n_ysize', 'b_Maximized', 'b_PenPressure', 'n_PenHardness', 'b_ShowMenu',
               'b_IgnoreTabXY']
DEFAULT_BINDINGS = [('New', 78), ('Open', 79), ('Save', 83), ('SaveAs', 0), ('Undo', 90),
                    ('Redo', 89), ('VMirror', 66), ('HMirror', 72), ('Resize', 82),
                    ('Alpha', 65), ('Config', 69), ('KeyConf', 75), ('Eraser', 32768),
                    ('ShowMenu', 77), ('PopMenu', 80), ('Copy', 32835), ('Paste', 32854),
                    ('Brush_P', 0), ('Brush_M', 0), ('Erase_P', 0), ('Erase_M', 0),
                    ('SetPresser', 0), ('ZoomUp', 49), ('ZoomDown', 50), ('ZoomNomal', 51),
                    ('Hand', 32), ('Move', 32800), ('NoSaveExit', 0), ('Clear', 0)]
PLACEMENT_KEYS = ('n_xpos', 'n_ypos', 'n_xsize', 'n_ysize')


def windows_folder(folder):
    return windows_path(folder) + '\\'


def default_options(folder):
    side = str(SCREEN_HEIGHT - 100)
    values = [windows_folder(folder), side, side, '15397364', '0', '1', '0', '212', '0', '1',
              '8', '11912658', '0', '0', '0', '0', '0', '0', '0', '7', '1', '1']
    return list(zip(OPTION_KEYS, values))


def config_text(options, bindings):
    lines = ['%s=%s' % kv for kv in options] + [''] + \
            ['dw_Key_%s=%d' % kv for kv in bindings]
    return ('\r\n'.join(lines) + '\r\n').encode('cp932')
