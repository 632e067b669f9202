#include "app/prompt_fallback.h"

#include <cstring>

// This file is UTF-8. GCC reads sources as UTF-8 and encodes wide literals as UTF-16 on
// Windows (UTF-32 on the host), so every text below compiles to the same characters in both.

namespace {

const char* const kKeyNames[kPromptKeyCount] = {
    "ServiceError",     "Repair",    "DiskSpace",  "Memsize",      "ApkInstalling", "CPUtype",
    "System",           "Fat",       "Filedamage", "DownloadFail", "Graphics",      "Resolution",
    "pstrDownloaderUp", "Installed", "64error",    "Fileoccupied", "Authority",     "Downloading",
    "Reboot",           "Character", "BlueScreen", "FAQUrl",       "FREEDISK1",     "FREEDISK2",
};

// Fallback entry per key, in key order; -1 leaves the prompt text empty.
const int kEntryForKey[kPromptKeyCount] = {
    0,   // ServiceError
    1,   // Repair
    2,   // DiskSpace
    4,   // Memsize
    -1,  // ApkInstalling
    5,   // CPUtype
    6,   // System
    7,   // Fat
    8,   // Filedamage
    -1,  // DownloadFail
    10,  // Graphics
    11,  // Resolution
    -1,  // pstrDownloaderUp
    13,  // Installed
    14,  // 64error
    15,  // Fileoccupied
    16,  // Authority
    -1,  // Downloading
    -1,  // Reboot
    -1,  // Character
    -1,  // BlueScreen
    -1,  // FAQUrl
    20,  // FREEDISK1
    21,  // FREEDISK2
};

// Entries: 0 server error, 1 overwrite-install button, 2 disk space, 3 apk download, 4 memory,
// 5 CPU, 6 OS version, 7 FAT32 warning, 8 unpacking, 9 download without space, 10 graphics
// driver, 11 colour depth, 12 newer installer, 13 old data deleted, 14 processor query,
// 15 files in use, 16 administrator rights, 17-21 unused (empty).
const wchar_t* const kFallback[kPromptFallbackGroupCount][kPromptFallbackEntryCount] = {
    // 0: English
    {
        L"Server error, please try again later!",
        L"Overwrite Install",
        L"There is not enough disk space, please free sufficient space for installation first.",
        L"Downloading apk file... Please wait",
        L"Not enough physical memory available to install current configured settings",
        L"This CPU model is currently not supported, installation cannot be completed",
        L"Operating system version too old, please update before installation.",
        L"The file system of the selected destination directory is FAT32, under which the maximum "
        L"size of a single file is limited to 4G. Running under this setting may cause APP Player "
        L"system error. It is suggested that you change the file format to NTFS.",
        L"Fail to uncompress Vesk installer, please get the full installer from our official "
        L"website and try again.",
        L"Fail to download the installer. You do not have enough space on disc C.",
        L"Your graphics card driver is outdated, you may fail to start VeskPlayer. Please update "
        L"your graphics card driver.",
        L"Please set your screen resolution to True Color (32 bit)",
        L"Please download the latest installer from our official website.",
        L"This install will delete all previous apps and data. To backup your data",
        L"Processor info error, restart installer please!",
        L"Couldn't install Vesk App Player. This can occur if the previous version is still in "
        L"progress or the installer is falsely blocked by antivirus. Please end any Vesk progress "
        L"in Task Manager or quit antivirus and try install again.",
        L"Installation failed. Please run as administrator.",
        L"",
        L"",
        L"",
        L"",
        L"",
    },
    // 1: simplified Chinese
    {
        L"服务器错误，请稍后重试！",
        L"覆盖安装",
        L"磁盘空间不足，请先释放足够的空间再进行安装。",
        L"正在下载 apk 文件，请稍候...",
        L"可用物理内存不足，无法按当前配置进行安装。",
        L"暂不支持此 CPU 型号，无法完成安装。",
        L"操作系统版本过低，请先升级系统再进行安装。",
        L"所选安装目录的文件系统为 FAT32，单个文件最大只能为 4G，在此环境下运行可能导致模拟器系统出错。"
        L"建议将文件系统格式转换为 NTFS。",
        L"Vesk 安装程序解压失败，请从官网获取完整的安装程序后重试。",
        L"安装包下载失败，C 盘空间不足。",
        L"您的显卡驱动版本过旧，可能无法启动 VeskPlayer。请更新显卡驱动。",
        L"请将屏幕颜色设置为真彩色（32 位）",
        L"请从官网下载最新版安装程序。",
        L"本次安装将删除之前所有的应用和数据，请先备份您的数据",
        L"处理器信息错误，请重新启动安装程序！",
        L"无法安装 Vesk App Player。可能是旧版本仍在运行，或安装程序被杀毒软件误拦截。"
        L"请在任务管理器中结束所有 Vesk 进程，或退出杀毒软件后重新安装。",
        L"安装失败，请以管理员身份运行。",
        L"",
        L"",
        L"",
        L"",
        L"",
    },
    // 2: Korean
    {
        L"서버 오류가 발생했습니다. 잠시 후 다시 시도해 주세요!",
        L"덮어쓰기 설치",
        L"디스크 공간이 부족합니다. 설치하기 전에 충분한 공간을 확보해 주세요.",
        L"apk 파일을 다운로드하는 중... 잠시만 기다려 주세요",
        L"사용 가능한 물리 메모리가 부족하여 현재 구성으로 설치할 수 없습니다.",
        L"현재 지원되지 않는 CPU 모델이므로 설치를 완료할 수 없습니다.",
        L"운영 체제 버전이 너무 낮습니다. 설치하기 전에 업데이트해 주세요.",
        L"선택한 설치 폴더의 파일 시스템은 FAT32이며, 단일 파일의 최대 크기가 4G로 제한됩니다. "
        L"이 상태로 실행하면 APP Player 시스템 오류가 발생할 수 있으므로 NTFS로 변경하는 것을 "
        L"권장합니다.",
        L"Vesk 설치 파일의 압축을 풀지 못했습니다. 공식 웹사이트에서 전체 설치 프로그램을 받은 후 "
        L"다시 시도해 주세요.",
        L"설치 파일을 다운로드하지 못했습니다. C 드라이브의 공간이 부족합니다.",
        L"그래픽 카드 드라이버가 오래되어 VeskPlayer를 시작하지 못할 수 있습니다. 그래픽 카드 "
        L"드라이버를 업데이트해 주세요.",
        L"화면 색상을 트루 컬러(32비트)로 설정해 주세요",
        L"공식 웹사이트에서 최신 설치 프로그램을 다운로드해 주세요.",
        L"이번 설치 시 이전의 모든 앱과 데이터가 삭제됩니다. 데이터를 백업해 주세요",
        L"프로세서 정보 오류입니다. 설치 프로그램을 다시 실행해 주세요!",
        L"Vesk App Player를 설치할 수 없습니다. 이전 버전이 아직 실행 중이거나 백신 프로그램이 설치 "
        L"프로그램을 잘못 차단했을 수 있습니다. 작업 관리자에서 Vesk 프로세스를 모두 종료하거나 백신 "
        L"프로그램을 종료한 후 다시 설치해 주세요.",
        L"Installation failed. Please run as administrator.",
        L"",
        L"",
        L"",
        L"",
        L"",
    },
    // 3: Japanese
    {
        L"サーバーエラーが発生しました。しばらくしてから再度お試しください。",
        L"上書きインストール",
        L"ディスクの空き容量が不足しています。インストールの前に十分な空き容量を確保してください。",
        L"apkファイルをダウンロードしています... しばらくお待ちください",
        L"物理メモリが不足しているため、現在の構成ではインストールできません。",
        L"このCPUモデルは現在サポートされていないため、インストールを完了できません。",
        L"オペレーティングシステムのバージョンが古すぎます。インストールの前にアップデートしてください。",
        L"選択したインストール先のファイルシステムはFAT32です。この形式では単一ファイルの最大サイズが4G"
        L"に制限されるため、APP Playerのシステムエラーが発生する可能性があります。NTFSに変換することを"
        L"お勧めします。",
        L"Veskインストーラーの展開に失敗しました。公式サイトから完全なインストーラーを入手して、"
        L"もう一度お試しください。",
        L"インストールファイルのダウンロードに失敗しました。Cドライブの空き容量が不足しています。",
        L"グラフィックカードのドライバーが古いため、VeskPlayerを起動できない可能性があります。"
        L"グラフィックカードのドライバーを更新してください。",
        L"画面の色をTrue Color（32ビット）に設定してください",
        L"公式サイトから最新のインストーラーをダウンロードしてください。",
        L"このインストールにより、以前のアプリとデータがすべて削除されます。データをバックアップしてください",
        L"プロセッサ情報エラーです。インストーラーを再起動してください。",
        L"Vesk App Playerをインストールできませんでした。以前のバージョンが実行中であるか、インストーラーが"
        L"ウイルス対策ソフトに誤ってブロックされた可能性があります。タスクマネージャーでVeskのプロセスを"
        L"すべて終了するか、ウイルス対策ソフトを終了してから、もう一度インストールしてください。",
        L"Installation failed. Please run as administrator.",
        L"",
        L"",
        L"",
        L"",
        L"",
    },
    // 4: Vietnamese
    {
        L"Lỗi máy chủ, vui lòng thử lại sau!",
        L"Cài đặt đè",
        L"Không đủ dung lượng ổ đĩa, vui lòng giải phóng đủ dung lượng trước khi cài đặt.",
        L"Đang tải tệp apk... Vui lòng đợi",
        L"Không đủ bộ nhớ vật lý khả dụng để cài đặt theo cấu hình hiện tại",
        L"Mẫu CPU này hiện chưa được hỗ trợ, không thể hoàn tất cài đặt",
        L"Phiên bản hệ điều hành quá cũ, vui lòng cập nhật trước khi cài đặt.",
        L"Hệ thống tệp của thư mục đích đã chọn là FAT32, kích thước tối đa của một tệp bị giới hạn ở "
        L"4G. Chạy với thiết lập này có thể gây lỗi hệ thống APP Player. Bạn nên chuyển định dạng sang "
        L"NTFS.",
        L"Giải nén trình cài đặt Vesk thất bại, vui lòng tải bộ cài đặt đầy đủ từ trang web chính thức "
        L"và thử lại.",
        L"Không thể tải xuống gói cài đặt. Ổ C không đủ dung lượng trống.",
        L"Trình điều khiển card đồ họa đã lỗi thời, có thể không khởi động được VeskPlayer. Vui lòng "
        L"cập nhật trình điều khiển card đồ họa.",
        L"Vui lòng đặt màu màn hình thành True Color (32 bit)",
        L"Vui lòng tải trình cài đặt mới nhất từ trang web chính thức của chúng tôi.",
        L"Lần cài đặt này sẽ xóa tất cả ứng dụng và dữ liệu trước đó. Hãy sao lưu dữ liệu của bạn",
        L"Lỗi thông tin bộ xử lý, vui lòng khởi động lại trình cài đặt!",
        L"Không thể cài đặt Vesk App Player. Có thể phiên bản trước vẫn đang chạy hoặc trình cài đặt bị "
        L"phần mềm diệt virus chặn nhầm. Vui lòng kết thúc mọi tiến trình Vesk trong Task Manager hoặc "
        L"thoát phần mềm diệt virus rồi thử cài đặt lại.",
        L"Installation failed. Please run as administrator.",
        L"",
        L"",
        L"",
        L"",
        L"",
    },
};

}  // namespace

const char* PromptKeyName(int key_index) {
  if (key_index < 0 || key_index >= kPromptKeyCount) return nullptr;
  return kKeyNames[key_index];
}

int PromptKeyIndex(const char* key) {
  if (key == nullptr) return -1;
  for (int i = 0; i < kPromptKeyCount; ++i) {
    if (std::strcmp(kKeyNames[i], key) == 0) return i;
  }
  return -1;
}

const wchar_t* PromptFallbackText(int group, int entry) {
  if (group < 0 || group >= kPromptFallbackGroupCount || entry < 0 || entry >= kPromptFallbackEntryCount) {
    return L"";
  }
  return kFallback[group][entry];
}

int PromptFallbackEntryForKey(int key_index) {
  if (key_index < 0 || key_index >= kPromptKeyCount) return -1;
  return kEntryForKey[key_index];
}
