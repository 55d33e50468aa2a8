// Identifiers of the dialog templates and their controls.
#ifndef QL_RESOURCES_RESOURCE_IDS_H
#define QL_RESOURCES_RESOURCE_IDS_H

#define IDD_CALCULATOR 101        // "Self Employment Tax Calculator"
#define IDD_INCOME 103            // one income entry
#define IDD_VALUES 105            // "Dialog Values"

#define IDC_CURRENT_MONTH 1001
#define IDC_SE_INCOME 1003
#define IDC_W2_INCOME 1004
#define IDC_EMPLOYER 1005
#define IDC_START_MONTH 1006
#define IDC_START_MONTH_LABEL 1007
#define IDC_END_MONTH 1008
#define IDC_END_MONTH_LABEL 1009
#define IDC_NET_INCOME 1010
#define IDC_NET_INCOME_LABEL 1011
#define IDC_SECOND_FIELD 1012     // withholding (103), value 2 (105)
#define IDC_WITHHOLDING_LABEL 1013
#define IDC_FIRST_FIELD 1014      // value 1 (105)
#define IDC_VALUE2_LABEL 1015

#endif
